#include "ui/factory/FactoryWindow.h"

#include "link/OperationRunner.h"

#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/OperationRecord.h"
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
#include <vector>

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
        onWindow([this, text] { m_window.appendOutput(text); });
    }

private:
    void onWindow(std::function<void()> fn)
    {
        if (m_runner)
            m_runner->post(std::move(fn));
        else
            fn();
    }

    FactoryWindow &m_window;
    OperationRunner *m_runner;
};

FactoryWindow::FactoryWindow(InstrumentContext &ctx, QWidget *parent) : FactoryWindow(parent)
{
    m_ctx = &ctx;
}

FactoryWindow::FactoryWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_outputBox(std::make_unique<TextBoxOutput>(*this))
{
    setObjectName(QStringLiteral("frmHalvane"));
    setWindowTitle(QStringLiteral("Halvane Factory Production and Debug Utilites"));

    m_identityGroup = buildIdentity();
    m_identityGroup->setAccessibleName(m_identityGroup->title());
    m_outputText = buildOutputBox();
    buildCommandGroups();
    layOut();

    showInstrument();
}

QPlainTextEdit *FactoryWindow::buildOutputBox()
{
    auto *box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("txtHalvaneData"));
    box->setAccessibleName(QStringLiteral("Factory output"));
    box->setReadOnly(true);
    // Read-only, yet reachable and scrollable from the keyboard.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setTabChangesFocus(true);
    // Long summary lines wrap: the newest line is in view from its start.
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics fm(box->font());
    box->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * 34, fm.lineSpacing() * 14);
    return box;
}

// One command button: its control name, caption and handler.
struct FactoryWindow::CommandButton {
    const char *name;
    const char *caption;
    void (FactoryWindow::*handler)();
};

// A group of command buttons, one above the other unless `sideBySide`.
struct FactoryWindow::CommandGroup {
    QGroupBox *FactoryWindow::*member;
    const char *name;
    const char *title;
    bool sideBySide;
    std::vector<CommandButton> buttons;
};

namespace
{
using W = FactoryWindow;
} // namespace

// In the order of creation, which is the keyboard order.
// clang-format off
const std::vector<FactoryWindow::CommandGroup> &FactoryWindow::commandGroups()
{
    static const std::vector<CommandGroup> groups{
        {&W::m_memoryGroup, "fraMemory", "Memory displays", false, {
            {"cmdDisplayRam", "Display Brevo   IRAM", &W::onDisplayRamClicked},
            {"cmdDisplayXram", "Display Brevo  XRAM", &W::onDisplayXramClicked},
            {"cmdDisplayFlashRom", "Display Flash ROM Data", &W::onDisplayFlashRomClicked},
            {"cmdDisplayIntNvmData", "Display Internal NVM Data", &W::onDisplayIntNvmDataClicked},
            {"cmdDisplayExtNvmData", "Display 24C512 NVM Data", &W::onDisplayExtNvmDataClicked},
        }},
        {&W::m_programmingGroup, "fraProgramming", "Programming", false, {
            {"cmdProgByteIntNvm", "Program one byte of Internal NVM", &W::onProgByteIntNvmClicked},
            {"cmdProgByte24C512", "Program one byte of 24C512 NVM", &W::onProgByte24C512Clicked},
            {"cmdIspMode", "Put Into ISP Mode (Use 24C512)", &W::onIspModeClicked},
            {"cmdIspMode2", "Put Into ISP Mode (Use Philips)", &W::onIspMode2Clicked},
        }},
        {&W::m_codeImagesGroup, "fraCodeImages", "Code images", false, {
            {"cmdReadHex7168", "Read code from HEX file and create .COD file", &W::onReadHex7168Clicked},
            {"cmdSaveFlashCode2File", "Read from Flash ROM and Save to .COD File", &W::onSaveFlashCode2FileClicked},
            {"cmdSaveFileTo24C512", "Read code from .COD File and Save to 24C512", &W::onSaveFileTo24C512Clicked},
            {"cmdHalvaneCopyCodeToFlash", "Copy Code from 24C512 to Flash at location 7,168", &W::onCopyCodeToFlashClicked},
        }},
        {&W::m_provisioningGroup, "fraProvisioning", "New-unit provisioning", false, {
            {"cmdHalvaneNewBrevo", "Make NEW Brevo", &W::onMakeNewUnitClicked},
            {"cmdHalvaneNewSN", "Write New Serial No. to Brevo", &W::onNewSNClicked},
            {"cmdHalvaneNew24C512", "Zero 24C512 LOGS and Date", &W::onNew24C512Clicked},
            {"cmdHalvaneUploadCalData", "Upload All Calibration Curve Data to 24C512", &W::onUploadCalDataClicked},
            {"cmdHalvaneUploadNmea", "Upload NMEA and D.P. Data to 24C512", &W::onUploadNmeaClicked},
        }},
        {&W::m_disconnectGroup, "fraDisconnect", "Disconnect", true, {
            {"cmdDisconnect", "Clear RAM Disconnect and Close Window", &W::onDisconnectClicked},
            {"cmdSoftDisconnect", "Soft RESET Disconnect and Close Window", &W::onSoftDisconnectClicked},
        }},
    };
    return groups;
}
// clang-format on

void FactoryWindow::buildCommandGroups()
{
    for (const CommandGroup &def : commandGroups()) {
        const QString title = QLatin1String(def.title);
        auto *group = new QGroupBox(title, this);
        group->setObjectName(QLatin1String(def.name));
        group->setAccessibleName(title);
        QBoxLayout *layout =
            def.sideBySide ? static_cast<QBoxLayout *>(new QHBoxLayout(group)) : new QVBoxLayout(group);
        for (const CommandButton &b : def.buttons)
            button(group, b.name, QLatin1String(b.caption), b.handler);
        // Buttons stay at the top of their group when a row grows to its neighbour's height.
        if (!def.sideBySide)
            layout->addStretch(1);
        this->*def.member = group;
    }
}

void FactoryWindow::layOut()
{
    auto *left = new QVBoxLayout;
    left->addWidget(m_identityGroup);
    left->addWidget(m_outputText, 1);
    auto *commands = new QGridLayout;
    commands->addWidget(m_memoryGroup, 0, 0);
    commands->addWidget(m_codeImagesGroup, 0, 1);
    commands->addWidget(m_programmingGroup, 1, 0);
    commands->addWidget(m_provisioningGroup, 1, 1);
    // Disconnecting sits apart, level with the bottom of the output box.
    commands->setRowStretch(2, 1);
    commands->addWidget(m_disconnectGroup, 3, 0, 1, 2);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
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
        {&m_serialNumberBox, "txtTessaroSN", "Brevo:  SN#"},
        {&m_softwareVersionBox, "txtTessaroSwVer", "Brevo:  Sw_Ver."},
        {&m_hardwareVersionBox, "txtTessaroHwVer", "Brevo:  Hw_Ver."},
        {&m_unitVersionBoxes[0], "txtU101SwVer", "U101:  Sw_Ver."},
        {&m_unitVersionBoxes[1], "txtU201SwVer", "U201:  Sw_Ver."},
        {&m_unitVersionBoxes[2], "txtU301SwVer", "U301:  Sw_Ver."},
        {&m_unitVersionBoxes[3], "txtU401SwVer", "U401:  Sw_Ver."},
        {&m_newConfigCountBox, "txtNTimesNewConfigs", "N Times New Configs Programmed"},
        {&m_productIdBox, "txtBrevoProductID", "Brevo Product ID:  Hw_Ver."},
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

void FactoryWindow::showInstrument()
{
    showIdentity(m_identity);
    showUnitVersions(m_identity);
    m_productIdBox->setText(m_productCode ? QString::number(*m_productCode) : kUnknown);
    m_newConfigCountBox->setText(m_newConfigCount ? QString::number(*m_newConfigCount) : kUnknown);
}

void FactoryWindow::showIdentity(const InstrumentIdentity &identity)
{
    m_identity.serialNumber = identity.serialNumber;
    m_identity.softwareVersion = identity.softwareVersion;
    m_identity.hardwareVersion = identity.hardwareVersion;
    m_serialNumberBox->setText(m_identity.serialNumber);
    m_softwareVersionBox->setText(m_identity.softwareVersion);
    m_hardwareVersionBox->setText(m_identity.hardwareVersion);
}

void FactoryWindow::showUnitVersions(const InstrumentIdentity &identity)
{
    for (int i = 0; i < kUnits; ++i) {
        m_identity.unitVersions[i] = identity.unitVersions[i];
        m_unitVersionBoxes[i]->setText(m_identity.unitVersions[i]);
    }
}

void FactoryWindow::showProductCode(int code)
{
    m_productCode = code;
    m_productIdBox->setText(QString::number(code));
}

void FactoryWindow::showNewConfigCount(int count)
{
    m_newConfigCount = count;
    m_newConfigCountBox->setText(QString::number(count));
}

void FactoryWindow::showEvent(QShowEvent *event)
{
    showInstrument();
    QWidget::showEvent(event);
}

void FactoryWindow::clearOutput()
{
    m_output.clear();
    m_outputText->clear();
}

void FactoryWindow::appendOutput(const QString &text)
{
    m_output += text;
    m_outputText->moveCursor(QTextCursor::End);
    m_outputText->insertPlainText(shown(text));
    m_outputText->ensureCursorVisible();
}

void FactoryWindow::setRunner(OperationRunner *runner, OperationStarter start)
{
    m_runner = runner;
    m_start = std::move(start);
    m_operationOutput = runner ? std::make_unique<TextBoxOutput>(*this, runner) : nullptr;
}

void FactoryWindow::run(const std::function<CommandEnd(factory::FactorySession &)> &command)
{
    m_lastEnd = CommandEnd::Failed;
    if (!m_runner) {
        if (!m_ctx)
            return;
        factory::FactorySession s{*m_ctx, *m_outputBox, [this] { hide(); }};
        runInstrumentOperation(m_ctx->link, m_ctx->state, m_ctx->prompts, m_ctx->view, [&] { m_lastEnd = command(s); });
        return;
    }
    // The command's end is handed over with its result, on this thread.
    const auto end = std::make_shared<CommandEnd>(CommandEnd::Failed);
    OperationRunner *runner = m_runner;
    TextBoxOutput *output = m_operationOutput.get();
    m_start(
        [this, runner, output, command, end](InstrumentContext &ctx) {
            factory::FactorySession s{ctx, *output, [this, runner] { runner->post([this] { hide(); }); }};
            *end = command(s);
            static const transfer::Outcome outcomes[] = {transfer::Outcome::Done, transfer::Outcome::Cancelled,
                                                         transfer::Outcome::Refused, transfer::Outcome::NotConnected,
                                                         transfer::Outcome::Failed};
            ctx.state.outcome = outcomes[int(*end)];
        },
        [this, end](const OperationRecord &) { m_lastEnd = *end; });
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
