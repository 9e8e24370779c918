#include "ui/factory/FactoryWindow.h"

#include "link/OperationRunner.h"

#include "core/EditorState.h"
#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/SerialLink.h"
#include "link/factory/CodeImageCommands.h"
#include "link/factory/MemoryCommands.h"
#include "link/factory/ProvisioningCommands.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using factory::CommandEnd;

namespace
{
const QString kUnknown = QStringLiteral("Unknown");
// Output lines end with CR LF; the box shows plain line breaks.
QString shown(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}
} // namespace

// With a runner, written from its operations: the box is written on its own thread.
class FactoryWindow::TextBoxOutput : public factory::OutputBox
{
public:
    explicit TextBoxOutput(FactoryWindow &window, OperationRunner *runner = nullptr)
        : m_window(window), m_runner(runner)
    {
    }
    void clear() override
    {
        onWindow([this] { m_window.clearOutput(); });
    }
    void append(const QString &text) override
    {
        onWindow([&] { m_window.appendOutput(text); });
    }

private:
    void onWindow(const std::function<void()> &fn)
    {
        if (m_runner)
            m_runner->onWindows(fn);
        else
            fn();
    }

    FactoryWindow &m_window;
    OperationRunner *m_runner;
};

FactoryWindow::FactoryWindow(InstrumentContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ctx(ctx),
      m_outputBox(std::make_unique<TextBoxOutput>(*this)), m_session{ctx, *m_outputBox, [this] { hide(); }}
{
    setObjectName(QStringLiteral("frmHalvane"));
    setWindowTitle(QStringLiteral("Halvane Factory Production and Debug Utilites"));

    fraIdentity = buildIdentity();

    txtHalvaneData = new QPlainTextEdit(this);
    txtHalvaneData->setObjectName(QStringLiteral("txtHalvaneData"));
    txtHalvaneData->setAccessibleName(QStringLiteral("Factory output"));
    txtHalvaneData->setReadOnly(true);
    // Read-only, yet reachable and scrollable from the keyboard.
    txtHalvaneData->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtHalvaneData->setTabChangesFocus(true);
    txtHalvaneData->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtHalvaneData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics fm(txtHalvaneData->font());
    txtHalvaneData->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * 34, fm.lineSpacing() * 14);

    fraMemory = new QGroupBox(QStringLiteral("Memory displays"), this);
    fraMemory->setObjectName(QStringLiteral("fraMemory"));
    cmdDisplayRam =
        button(fraMemory, "cmdDisplayRam", QStringLiteral("Display Brevo   IRAM"), &FactoryWindow::onDisplayRamClicked);
    cmdDisplayXram = button(fraMemory, "cmdDisplayXram", QStringLiteral("Display Brevo  XRAM"),
                            &FactoryWindow::onDisplayXramClicked);
    cmdDisplayFlashRom = button(fraMemory, "cmdDisplayFlashRom", QStringLiteral("Display Flash ROM Data"),
                                &FactoryWindow::onDisplayFlashRomClicked);
    cmdDisplayIntNvmData = button(fraMemory, "cmdDisplayIntNvmData", QStringLiteral("Display Internal NVM Data"),
                                  &FactoryWindow::onDisplayIntNvmDataClicked);
    cmdDisplayExtNvmData = button(fraMemory, "cmdDisplayExtNvmData", QStringLiteral("Display 24C512 NVM Data"),
                                  &FactoryWindow::onDisplayExtNvmDataClicked);

    fraProgramming = new QGroupBox(QStringLiteral("Programming"), this);
    fraProgramming->setObjectName(QStringLiteral("fraProgramming"));
    cmdProgByteIntNvm = button(fraProgramming, "cmdProgByteIntNvm", QStringLiteral("Program one byte of Internal NVM"),
                               &FactoryWindow::onProgByteIntNvmClicked);
    cmdProgByte24C512 = button(fraProgramming, "cmdProgByte24C512", QStringLiteral("Program one byte of 24C512 NVM"),
                               &FactoryWindow::onProgByte24C512Clicked);
    cmdIspMode = button(fraProgramming, "cmdIspMode", QStringLiteral("Put Into ISP Mode (Use 24C512)"),
                        &FactoryWindow::onIspModeClicked);
    cmdIspMode2 = button(fraProgramming, "cmdIspMode2", QStringLiteral("Put Into ISP Mode (Use Philips)"),
                         &FactoryWindow::onIspMode2Clicked);

    fraCodeImages = new QGroupBox(QStringLiteral("Code images"), this);
    fraCodeImages->setObjectName(QStringLiteral("fraCodeImages"));
    cmdReadHex7168 =
        button(fraCodeImages, "cmdReadHex7168", QStringLiteral("Read code from HEX file and create .COD file"),
               &FactoryWindow::onReadHex7168Clicked);
    cmdSaveFlashCode2File =
        button(fraCodeImages, "cmdSaveFlashCode2File", QStringLiteral("Read from Flash ROM and Save to .COD File"),
               &FactoryWindow::onSaveFlashCode2FileClicked);
    cmdSaveFileTo24C512 =
        button(fraCodeImages, "cmdSaveFileTo24C512", QStringLiteral("Read code from .COD File and Save to 24C512"),
               &FactoryWindow::onSaveFileTo24C512Clicked);
    cmdHalvaneCopyCodeToFlash = button(fraCodeImages, "cmdHalvaneCopyCodeToFlash",
                                       QStringLiteral("Copy Code from 24C512 to Flash at location 7,168"),
                                       &FactoryWindow::onCopyCodeToFlashClicked);

    fraProvisioning = new QGroupBox(QStringLiteral("New-unit provisioning"), this);
    fraProvisioning->setObjectName(QStringLiteral("fraProvisioning"));
    cmdHalvaneNewBrevo = button(fraProvisioning, "cmdHalvaneNewBrevo", QStringLiteral("Make NEW Brevo"),
                                &FactoryWindow::onMakeNewUnitClicked);
    cmdHalvaneNewSN = button(fraProvisioning, "cmdHalvaneNewSN", QStringLiteral("Write New Serial No. to Brevo"),
                             &FactoryWindow::onNewSNClicked);
    cmdHalvaneNew24C512 = button(fraProvisioning, "cmdHalvaneNew24C512", QStringLiteral("Zero 24C512 LOGS and Date"),
                                 &FactoryWindow::onNew24C512Clicked);
    cmdHalvaneUploadCalData =
        button(fraProvisioning, "cmdHalvaneUploadCalData",
               QStringLiteral("Upload All Calibration Curve Data to 24C512"), &FactoryWindow::onUploadCalDataClicked);
    cmdHalvaneUploadNmea =
        button(fraProvisioning, "cmdHalvaneUploadNmea", QStringLiteral("Upload NMEA and D.P. Data to 24C512"),
               &FactoryWindow::onUploadNmeaClicked);

    fraDisconnect = new QGroupBox(QStringLiteral("Disconnect"), this);
    fraDisconnect->setObjectName(QStringLiteral("fraDisconnect"));
    new QHBoxLayout(fraDisconnect); // the two buttons side by side
    cmdDisconnect = button(fraDisconnect, "cmdDisconnect", QStringLiteral("Clear RAM Disconnect and Close Window"),
                           &FactoryWindow::onDisconnectClicked);
    cmdSoftDisconnect =
        button(fraDisconnect, "cmdSoftDisconnect", QStringLiteral("Soft RESET Disconnect and Close Window"),
               &FactoryWindow::onSoftDisconnectClicked);

    for (QGroupBox *group : {fraIdentity, fraMemory, fraProgramming, fraCodeImages, fraProvisioning, fraDisconnect})
        group->setAccessibleName(group->title());

    // Buttons stay at the top of their group when a row grows to its neighbour's height.
    for (QGroupBox *group : {fraMemory, fraProgramming, fraCodeImages, fraProvisioning})
        static_cast<QBoxLayout *>(group->layout())->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addWidget(fraIdentity);
    left->addWidget(txtHalvaneData, 1);
    auto *commands = new QGridLayout;
    commands->addWidget(fraMemory, 0, 0);
    commands->addWidget(fraCodeImages, 0, 1);
    commands->addWidget(fraProgramming, 1, 0);
    commands->addWidget(fraProvisioning, 1, 1);
    // Disconnecting sits apart, level with the bottom of the output box.
    commands->setRowStretch(2, 1);
    commands->addWidget(fraDisconnect, 3, 0, 1, 2);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);

    loadForm();
}

FactoryWindow::~FactoryWindow() = default;

QLineEdit *FactoryWindow::identityBox(const char *name)
{
    auto *box = new QLineEdit(kUnknown, this);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")));
    return box;
}

QGroupBox *FactoryWindow::buildIdentity()
{
    auto *group = new QGroupBox(QStringLiteral("Instrument"), this);
    group->setObjectName(QStringLiteral("fraIdentity"));
    auto *form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const struct {
        QLineEdit **box;
        const char *name;
        const char *label;
    } rows[] = {
        {&txtTessaroSN, "txtTessaroSN", "Brevo:  SN#"},
        {&txtTessaroSwVer, "txtTessaroSwVer", "Brevo:  Sw_Ver."},
        {&txtTessaroHwVer, "txtTessaroHwVer", "Brevo:  Hw_Ver."},
        {&txtU101SwVer, "txtU101SwVer", "U101:  Sw_Ver."},
        {&txtU201SwVer, "txtU201SwVer", "U201:  Sw_Ver."},
        {&txtU301SwVer, "txtU301SwVer", "U301:  Sw_Ver."},
        {&txtU401SwVer, "txtU401SwVer", "U401:  Sw_Ver."},
        {&txtNTimesNewConfigs, "txtNTimesNewConfigs", "N Times New Configs Programmed"},
        {&txtBrevoProductID, "txtBrevoProductID", "Brevo Product ID:  Hw_Ver."},
    };
    for (const auto &row : rows) {
        *row.box = identityBox(row.name);
        const QString caption = QString::fromLatin1(row.label);
        (*row.box)->setAccessibleName(caption);
        auto *label = new QLabel(caption, group);
        label->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(row.name).mid(3));
        label->setBuddy(*row.box);
        form->addRow(label, *row.box);
    }
    return group;
}

QPushButton *FactoryWindow::button(QGroupBox *group, const char *name, const QString &caption,
                                   void (FactoryWindow::*handler)())
{
    if (!group->layout())
        new QVBoxLayout(group);
    auto *b = new QPushButton(caption, group);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    b->setAutoDefault(false);
    // Room around the longest captions, in the font's own measure so it scales.
    b->setMinimumWidth(b->sizeHint().width() + b->fontMetrics().horizontalAdvance(QStringLiteral("MM")));
    group->layout()->addWidget(b);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

void FactoryWindow::loadForm()
{
    showIdentity();
    showUnitVersions();
    txtBrevoProductID->setText(m_productCode ? QString::number(*m_productCode) : kUnknown);
    txtNTimesNewConfigs->setText(m_newConfigCount ? QString::number(*m_newConfigCount) : kUnknown);
}

void FactoryWindow::showIdentity()
{
    txtTessaroSN->setText(m_ctx.state.SerialNumberText);
    txtTessaroSwVer->setText(m_ctx.state.SoftwareVersionText);
    txtTessaroHwVer->setText(m_ctx.state.HardwareVersionText);
}

void FactoryWindow::showUnitVersions()
{
    QLineEdit *boxes[] = {txtU101SwVer, txtU201SwVer, txtU301SwVer, txtU401SwVer};
    for (int i = 0; i < 4; ++i)
        boxes[i]->setText(m_ctx.state.UnitVersionText[i]);
}

void FactoryWindow::showProductCode(int code)
{
    m_productCode = code;
    txtBrevoProductID->setText(QString::number(code));
}

void FactoryWindow::showNewConfigCount(int count)
{
    m_newConfigCount = count;
    txtNTimesNewConfigs->setText(QString::number(count));
}

void FactoryWindow::showEvent(QShowEvent *event)
{
    loadForm();
    QWidget::showEvent(event);
}

void FactoryWindow::clearOutput()
{
    m_output.clear();
    txtHalvaneData->clear();
}

void FactoryWindow::appendOutput(const QString &text)
{
    m_output += text;
    txtHalvaneData->moveCursor(QTextCursor::End);
    txtHalvaneData->insertPlainText(shown(text));
    txtHalvaneData->ensureCursorVisible();
}

void FactoryWindow::setRunner(OperationRunner *runner, OperationStarter start)
{
    m_start = std::move(start);
    m_operationSession.reset();
    m_operationOutput.reset();
    if (!runner)
        return;
    m_operationOutput = std::make_unique<TextBoxOutput>(*this, runner);
    m_operationSession = std::make_unique<factory::FactorySession>(factory::FactorySession{
        runner->context(), *m_operationOutput, [this, runner] { runner->onWindows([this] { hide(); }); }});
}

void FactoryWindow::run(const std::function<CommandEnd(factory::FactorySession &)> &command)
{
    m_lastEnd = CommandEnd::Failed;
    if (!m_operationSession) {
        runInstrumentOperation(m_ctx.link, m_ctx.state, m_ctx.prompts, m_ctx.view,
                               [&] { m_lastEnd = command(m_session); });
        return;
    }
    factory::FactorySession &s = *m_operationSession;
    m_start([this, &s, command] { m_lastEnd = command(s); });
}

void FactoryWindow::onDisplayRamClicked()
{
    run([](factory::FactorySession &s) { return factory::displayMemory(s, factory::Memory::InternalRam); });
}

void FactoryWindow::onDisplayXramClicked()
{
    run([](factory::FactorySession &s) { return factory::displayMemory(s, factory::Memory::Xram); });
}

void FactoryWindow::onDisplayFlashRomClicked()
{
    run([](factory::FactorySession &s) { return factory::displayMemory(s, factory::Memory::FlashRom); });
}

void FactoryWindow::onDisplayIntNvmDataClicked()
{
    run([](factory::FactorySession &s) { return factory::displayMemory(s, factory::Memory::InternalNvm); });
}

void FactoryWindow::onDisplayExtNvmDataClicked()
{
    run([](factory::FactorySession &s) { return factory::displayMemory(s, factory::Memory::Eeprom24C512); });
}

void FactoryWindow::onProgByteIntNvmClicked()
{
    run([](factory::FactorySession &s) { return factory::programInternalNvmByte(s); });
}

void FactoryWindow::onProgByte24C512Clicked()
{
    run([](factory::FactorySession &s) { return factory::program24C512Byte(s); });
}

void FactoryWindow::onIspModeClicked()
{
    run([](factory::FactorySession &s) { return factory::enterIspMode(s, proto::kIspFrom24C512); });
}

void FactoryWindow::onIspMode2Clicked()
{
    run([](factory::FactorySession &s) { return factory::enterIspMode(s, proto::kIspOwnLoader); });
}

void FactoryWindow::onDisconnectClicked()
{
    run([](factory::FactorySession &s) { return factory::disconnectAndClose(s, proto::kClearRam); });
}

void FactoryWindow::onSoftDisconnectClicked()
{
    run([](factory::FactorySession &s) { return factory::disconnectAndClose(s, proto::kSoftReset); });
}

void FactoryWindow::onReadHex7168Clicked()
{
    run([](factory::FactorySession &s) { return factory::hexToCodeFile(s); });
}

void FactoryWindow::onSaveFlashCode2FileClicked()
{
    run([](factory::FactorySession &s) { return factory::flashToCodeFile(s); });
}

void FactoryWindow::onSaveFileTo24C512Clicked()
{
    run([](factory::FactorySession &s) { return factory::codeFileTo24C512(s); });
}

void FactoryWindow::onCopyCodeToFlashClicked()
{
    run([](factory::FactorySession &s) { return factory::copyCodeToFlash(s); });
}

void FactoryWindow::onMakeNewUnitClicked()
{
    run([](factory::FactorySession &s) { return factory::makeNewUnit(s); });
}

void FactoryWindow::onNewSNClicked()
{
    run([](factory::FactorySession &s) { return factory::writeNewSerialNumber(s); });
}

void FactoryWindow::onNew24C512Clicked()
{
    run([](factory::FactorySession &s) { return factory::zero24C512Logs(s); });
}

void FactoryWindow::onUploadCalDataClicked()
{
    run([](factory::FactorySession &s) { return factory::uploadCalibrationCurves(s); });
}

void FactoryWindow::onUploadNmeaClicked()
{
    run([](factory::FactorySession &s) { return factory::uploadNmeaTables(s); });
}
