// The instrument area of the main window: the connection bar (indicator, port, serial
// number, Upload and Download), the transfers and other operations the window starts,
// and the window's part of what those operations show.
#pragma once

#include "link/InstrumentView.h"
#include "link/OperationRecord.h"

#include <QObject>
#include <functional>
#include <memory>

class AboutWindow;
class ClickLabel;
class FactoryWindow;
class FillShape;
class LinkWindows;
class NmeaMonitorWindow;
class OperationRunner;
class Prompts;
class QLabel;
class QPushButton;
class QWidget;
class WarningQuestion;
namespace recording
{
class BackgroundRecorder;
}
struct ConfigImage;
struct EditorState;
struct InstrumentContext;

// The operations the main window starts; each kind's result is applied in one place.
enum class Operation { Upload, Download, Compare, Backup, Restore, Monitor, Factory };

class InstrumentController : public QObject, public InstrumentView
{
    Q_OBJECT
public:
    InstrumentController(EditorState &state, Prompts &prompts, QObject *parent = nullptr);
    ~InstrumentController() override;

    QWidget *buildConnectionBar(QWidget *parent);
    // The operations and the windows they use, made by the main window.
    struct Parts {
        OperationRunner *runner;
        LinkWindows *linkWindows;
        WarningQuestion *warning;
        AboutWindow *about;
        FactoryWindow *factory;
        NmeaMonitorWindow *monitor;
    };
    void attach(const Parts &parts);

    // An operation that uses the image starts (true) or ended (false).
    std::function<void(bool locked)> onImageLocked;
    // Any operation ended.
    std::function<void()> onOperationEnded;
    // Puts what an operation brought into the image through the image model: `change`
    // says which part of `image`; one undo step called `step` (its own name when empty),
    // counting as saved when `saved`.
    std::function<void(const ImageBytes &image, ImageChange change, const QString &step, bool saved)> takeImage;
    // What an operation read of (or wrote to) the instrument, as far as `known` says.
    std::function<void(const ConfigImage &image, const ImageAreas &known)> onInstrumentImage;
    // The instrument's counter of new configurations, read by a connection.
    std::function<void(quint16 count)> takeNewConfigCount;
    // Whether an upload reads the instrument back afterwards.
    std::function<bool()> verifyAfterUpload;
    // The file the editor's image comes from (empty: none, or not a file).
    std::function<QString()> imageSource;
    // Shows what changes from one image to another.
    std::function<void(const ConfigImage &, const QString &, const ConfigImage &, const QString &)> showComparison;

    using Body = std::function<void(InstrumentContext &ctx)>;
    using Done = std::function<void(const OperationRecord &result)>;
    // Runs `body` as an instrument operation of kind `kind` on the editor's state as it
    // is now; one that `locksImage` disables everything that edits the image while it
    // runs. Its result is applied, then handed to `done`.
    void run(Operation kind, const Body &body, bool locksImage = true, const Done &done = {});
    // What an operation of kind `kind` returned, applied to the editor: the one place
    // where results reach the editor's state and image.
    void apply(Operation kind, const OperationRecord &result);
    bool transferRunning() const { return m_transferRunning; }
    // Waits a few seconds at most for the entries still being recorded, and tells
    // what did not reach the archive: for quitting.
    void finishRecording();

signals:
    // Entries of the instrument `serialNumber` reached the archive.
    void entryRecorded(const QString &serialNumber);

public:
    void upload();
    // The upload of "Reset to Factory Defaults", recorded in the archive as a reset.
    void uploadFactoryDefaults();
    void download();
    void compareWithInstrument();
    void createBackup();
    void restoreBackup();
    void choosePort();
    // The connection label, clicked: the factory window, once armed.
    void openFactoryWindowIfArmed();
    void startNmeaMonitor();
    // The indicator and its text follow the link's state.
    void updateIndicator();
    void showPortNumber(int port);
    void setCommsPortLabel(const QString &text);
    QList<QWidget *> tabOrder() const;

    // InstrumentView: how the main window shows what instrument operations report.
    void portChanged(int portNumber) override;
    void linkStatusChanged(LinkStatus status) override;
    void identified(const InstrumentIdentity &identity) override;
    void versionsRead(const InstrumentIdentity &identity) override;
    void productCodeRead(int code) override;
    void newConfigCountRead(int count) override;

private:
    void operationFinished();
    void startUpload(bool factoryReset);
    // Records what the operation of kind `kind` learnt in the instrument archive; a
    // problem of the archive is told once a session and the operation is not affected.
    void recordEntry(Operation kind, const OperationRecord &result, const QString &source);
    void tellArchiveProblem(const QString &problem, const QString &after);
    bool confirmWarning(const QString &title, const QString &text);

    EditorState &m_state;
    Prompts &m_prompts;
    Parts m_parts{};
    bool m_transferRunning = false;
    bool m_factoryReset = false; // the upload that runs is a factory reset
    recording::BackgroundRecorder *m_recorder;

    FillShape *m_indicator = nullptr;
    ClickLabel *m_connected = nullptr;
    QLabel *m_port = nullptr, *m_serialNumber = nullptr;
    QPushButton *m_upload = nullptr, *m_download = nullptr;
};
