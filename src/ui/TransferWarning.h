// The overwrite-warning window: which categories of data an upload or download replaces.
#pragma once

#include "core/EditorState.h"
#include "link/Transfers.h"

#include <QWidget>
#include <functional>

class OperationRunner;
class SerialLink;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
struct LinkState;

// The warning's answer.
enum class WarningAnswer : quint8 { Cancel, Continue, CompareFirst };

class TransferWarning : public QWidget
{
    Q_OBJECT
public:
    explicit TransferWarning(QWidget *parent = nullptr);

    static constexpr int kCategories = transfer::kCategories;

    // Box i (1..14) is enabled when enabled[i] and checked when checked[i].
    void setCategories(const transfer::Categories &enabled, const transfer::Categories &checked);
    // The boxes left checked.
    transfer::Categories chosenCategories() const;
    // Shows or hides "Compare first…", which shows what the upload would change, then
    // the warning again.
    void setCompareOffered(bool offered);

    // The open question: called once with CONTINUE, CANCEL or "Compare first…" (closing
    // the window counts as CANCEL); cleared before it is called.
    std::function<void(WarningAnswer)> onAnswer;

public slots:
    void onWarningContinueClicked();
    void onWarningCancelClicked();
    void onWarningCompareClicked();
    void onWarningSetAllClicked();
    void onWarningClearAllClicked();

protected:
    // Closing the window from its frame counts as CANCEL, so a waiting transfer ends.
    void closeEvent(QCloseEvent *event) override;

private:
    // Steps of the constructor, in the order the widgets are made (the keyboard order).
    void buildBoxes();
    QGroupBox *buildWarningText();
    QGroupBox *buildDataGrid();
    void answer(WarningAnswer value);

    QCheckBox *m_boxes[kCategories + 1] = {};
    QPushButton *m_continueButton = nullptr;
    QPushButton *m_compareButton = nullptr;
};

// The overwrite warning as the transfers ask it: a request the window answers. The
// operation waits for it with the link's one interruptible wait, so Cancel, a lost
// port and the editor closing end it too (the window then leaves the screen). With a
// runner, asked from the runner's operations: the window is handled on its own thread.
class WarningQuestion : public transfer::CategoryQuestion
{
public:
    // `windowsLink` is the editor's port choice, read on the windows' thread.
    WarningQuestion(TransferWarning &window, const LinkState &windowsLink, SerialLink &link,
                    OperationRunner *runner = nullptr)
        : m_window(window), m_windowsLink(windowsLink), m_link(link), m_runner(runner)
    {
    }
    transfer::CategoryAnswer ask(const QString &title, const transfer::Categories &enabled,
                                 const transfer::Categories &checked) override;
    void dismiss() override;
    void showComparison(const ConfigImage &instrument, const ConfigImage &afterUpload) override;
    // Shows what an upload would change (on the windows' thread); without it the
    // warning offers no "Compare first…".
    std::function<void(const ConfigImage &, const ConfigImage &)> onCompare;

private:
    void onWindow(const std::function<void()> &fn);

    TransferWarning &m_window;
    const LinkState &m_windowsLink;
    SerialLink &m_link;
    OperationRunner *m_runner;
};
