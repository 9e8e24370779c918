// The hidden factory window: instrument identity, memory displays and programming, code images, new-unit provisioning.
#pragma once

#include "link/factory/FactorySteps.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

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
    void showIdentity();                // txtTessaroSN, txtTessaroSwVer, txtTessaroHwVer
    void showUnitVersions();            // txtU101SwVer .. txtU401SwVer
    void showProductCode(int code);     // txtBrevoProductID
    void showNewConfigCount(int count); // txtNTimesNewConfigs

    // The output box's text as the commands wrote it, CR LF line ends included.
    const QString &outputText() const { return m_output; }
    // How the last command ended (Failed also when it was refused as busy or the link was lost).
    factory::CommandEnd lastEnd() const { return m_lastEnd; }

    // Identity.
    QGroupBox *fraIdentity;
    QLineEdit *txtTessaroSN, *txtTessaroSwVer, *txtTessaroHwVer;
    QLineEdit *txtU101SwVer, *txtU201SwVer, *txtU301SwVer, *txtU401SwVer;
    QLineEdit *txtNTimesNewConfigs, *txtBrevoProductID;
    // Output.
    QPlainTextEdit *txtHalvaneData;
    // Memory displays.
    QGroupBox *fraMemory;
    QPushButton *cmdDisplayRam, *cmdDisplayXram, *cmdDisplayFlashRom, *cmdDisplayIntNvmData, *cmdDisplayExtNvmData;
    // Single bytes and in-system programming.
    QGroupBox *fraProgramming;
    QPushButton *cmdProgByteIntNvm, *cmdProgByte24C512, *cmdIspMode, *cmdIspMode2;
    // Code images.
    QGroupBox *fraCodeImages;
    QPushButton *cmdReadHex7168, *cmdSaveFlashCode2File, *cmdSaveFileTo24C512, *cmdHalvaneCopyCodeToFlash;
    // New-unit provisioning.
    QGroupBox *fraProvisioning;
    QPushButton *cmdHalvaneNewBrevo, *cmdHalvaneNewSN, *cmdHalvaneNew24C512, *cmdHalvaneUploadCalData,
        *cmdHalvaneUploadNmea;
    // Ending the connection.
    QGroupBox *fraDisconnect;
    QPushButton *cmdDisconnect, *cmdSoftDisconnect;

public slots:
    // Copies the identity the connection procedure keeps into the boxes.
    void loadForm();

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
};
