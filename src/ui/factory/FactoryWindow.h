// The hidden factory window: instrument identity, memory displays and programming, code images, new-unit provisioning.
#pragma once

#include "link/factory/FactorySteps.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct InstrumentContext;
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

    // `ctx` is the windows' side (its state is shown here); the commands run with it
    // here and now unless a runner is set.
    explicit FactoryWindow(InstrumentContext &ctx, QWidget *parent = nullptr);
    ~FactoryWindow() override;
    // Runs the commands on `runner`'s context, each started by `start` (which runs
    // its body as an instrument operation of `runner`).
    using OperationStarter = std::function<void(const std::function<void()> &body)>;
    void setRunner(OperationRunner *runner, OperationStarter start);

    // Identity boxes, filled from the values the connection keeps ("Unknown" until read).
    void showIdentity();                // serial number, software and hardware versions
    void showUnitVersions();            // software versions of U101 .. U401
    void showProductCode(int code);     // product ID
    void showNewConfigCount(int count); // times a new configuration was programmed

    // The output box's text as the commands wrote it, CR LF line ends included.
    const QString &outputText() const { return m_output; }
    // How the last command ended (Failed also when it was refused as busy or the link was lost).
    factory::CommandEnd lastEnd() const { return m_lastEnd; }

public slots:
    // Copies the identity the connection procedure keeps into the boxes.
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

    InstrumentContext &m_ctx;
    std::unique_ptr<TextBoxOutput> m_outputBox;
    factory::FactorySession m_session;
    OperationStarter m_start;
    std::unique_ptr<TextBoxOutput> m_operationOutput;
    std::unique_ptr<factory::FactorySession> m_operationSession;
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
