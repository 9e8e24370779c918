// The hidden factory window: instrument identity, memory displays and programming, code images, new-unit provisioning.
#pragma once

#include "core/EditorState.h"
#include "link/factory/FactorySteps.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct InstrumentContext;
struct OperationRecord;
class OperationRunner;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class FactoryWindow : public QWidget
{
    Q_OBJECT
public:
    // Where the main window places this window at start-up.
    static constexpr int kTopTwips = 550;
    static constexpr int kLeftTwips = 425;

    // The commands run with `ctx` here and now (the test bench).
    explicit FactoryWindow(InstrumentContext &ctx, QWidget *parent = nullptr);
    // The commands run as operations once setRunner() was called (the editor).
    explicit FactoryWindow(QWidget *parent = nullptr);
    ~FactoryWindow() override;
    // Runs the commands as operations of `runner`, each started by `start` with its
    // body and what to do with its result.
    using Body = std::function<void(InstrumentContext &ctx)>;
    using Done = std::function<void(const OperationRecord &result)>;
    using OperationStarter = std::function<void(const Body &body, const Done &done)>;
    void setRunner(OperationRunner *runner, OperationStarter start);

    // Identity boxes, filled from what the connection reported ("Unknown" until read).
    void showIdentity(const InstrumentIdentity &identity);     // serial number, software and hardware versions
    void showUnitVersions(const InstrumentIdentity &identity); // software versions of U101 .. U401
    void showProductCode(int code);                            // product ID
    void showNewConfigCount(int count);                        // times a new configuration was programmed

    // The output box's text as the commands wrote it, CR LF line ends included.
    const QString &outputText() const { return m_output; }
    // How the last command ended (Failed also when it was refused as busy or the link was lost).
    factory::CommandEnd lastEnd() const { return m_lastEnd; }

public slots:
    // Shows the identity last reported in the boxes.
    void showInstrument();

    void onDisplayRamClicked();
    void onDisplayXramClicked();
    void onDisplayFlashRomClicked();
    void onDisplayIntNvmDataClicked();
    void onDisplayExtNvmDataClicked();
    void onProgByteIntNvmClicked();
    void onProgByte24C512Clicked();
    void onIspModeClicked();
    void onIspMode2Clicked();
    void onDisconnectClicked();
    void onSoftDisconnectClicked();
    void onReadHex7168Clicked();
    void onSaveFlashCode2FileClicked();
    void onSaveFileTo24C512Clicked();
    void onCopyCodeToFlashClicked();
    void onMakeNewUnitClicked();
    void onNewSNClicked();
    void onNew24C512Clicked();
    void onUploadCalDataClicked();
    void onUploadNmeaClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    class TextBoxOutput;
    friend class TextBoxOutput;
    struct CommandButton;
    struct CommandGroup;
    static constexpr int kUnits = 4;

    // The command groups and their buttons, in the keyboard order.
    static const std::vector<CommandGroup> &commandGroups();

    QGroupBox *buildIdentity();
    QPlainTextEdit *buildOutputBox();
    void buildCommandGroups();
    void layOut();
    QLineEdit *identityBox(const char *name);
    // A command button of `group`, added to its layout.
    QPushButton *button(QGroupBox *group, const char *name, const QString &caption, void (FactoryWindow::*handler)());
    void clearOutput();
    void appendOutput(const QString &text);
    // Runs one command under the busy guard; a lost link ends it there.
    void run(const std::function<factory::CommandEnd(factory::FactorySession &)> &command);

    InstrumentContext *m_ctx = nullptr;
    std::unique_ptr<TextBoxOutput> m_outputBox;
    OperationRunner *m_runner = nullptr;
    OperationStarter m_start;
    std::unique_ptr<TextBoxOutput> m_operationOutput;
    InstrumentIdentity m_identity;
    QString m_output;
    factory::CommandEnd m_lastEnd = factory::CommandEnd::Done;
    std::optional<int> m_productCode;
    std::optional<int> m_newConfigCount;

    // Identity boxes, filled from the values the connection keeps ("Unknown" until read).
    QGroupBox *m_identityGroup;
    QLineEdit *m_serialNumberBox, *m_softwareVersionBox, *m_hardwareVersionBox;
    QLineEdit *m_unitVersionBoxes[kUnits] = {};
    QLineEdit *m_newConfigCountBox, *m_productIdBox;
    // What the commands write.
    QPlainTextEdit *m_outputText;
    // The command groups; their buttons are found by their control names.
    QGroupBox *m_memoryGroup, *m_programmingGroup, *m_codeImagesGroup, *m_provisioningGroup, *m_disconnectGroup;
};
