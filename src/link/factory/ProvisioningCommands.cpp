#include "link/factory/ProvisioningCommands.h"

#include "core/DefaultImage.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "core/factory/CalibrationFile.h"
#include "core/factory/DecimalPointFile.h"
#include "core/factory/FactoryAnswers.h"
#include "core/factory/NmeaTableFile.h"
#include "core/factory/ProgramModules.h"
#include "core/factory/SerialNumber.h"
#include "core/factory/SystemBlockUpdates.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"
#include "link/WrittenParts.h"
#include "link/factory/CodeImageCommands.h"

#include <QDir>

namespace factory
{
namespace
{

const QString kNothingSent = QStringLiteral("\r\nNothing was sent.");
constexpr int kProgressSteps = 16;

// The flags of a new-unit run: dialogs off and the new-unit defaults on while it runs,
// back to normal however it ends. The pending serial number survives only a run that
// got through; one that ended early must not hand it to the next unit uploaded.
class NewUnitRun
{
public:
    explicit NewUnitRun(OperationRecord &state) : m_state(state), m_pendingBefore(state.factory.newUnitUploadPending)
    {
        m_state.factory.newUnitUploadPending = true;
        m_state.factory.newUnitMode = true;
        m_state.transfer.askUser = false;
    }
    ~NewUnitRun() { finish(); }
    void succeeded() { m_succeeded = true; }
    void finish()
    {
        if (m_finished)
            return;
        m_finished = true;
        m_state.transfer.askUser = true;
        m_state.factory.newUnitMode = false;
        if (!m_succeeded)
            m_state.factory.newUnitUploadPending = m_pendingBefore;
    }
    NewUnitRun(const NewUnitRun &) = delete;
    NewUnitRun &operator=(const NewUnitRun &) = delete;

private:
    OperationRecord &m_state;
    qint16 m_pendingBefore;
    bool m_succeeded = false;
    bool m_finished = false;
};

// A serial number prompt: quiet end when not above 69,999,999, a message when too large.
bool askSerialNumber(FactorySession &s, const QString &prompt, const QString &title, SerialBytes *bytes,
                     CommandEnd *end)
{
    const SerialSplit serial = splitSerialNumber(ask(s, prompt, title));
    if (serial.ok) {
        *bytes = serial.bytes;
        return true;
    }
    if (serial.message.isEmpty()) {
        *end = CommandEnd::Cancelled;
    } else {
        s.ctx.prompts.message(title, serial.message, Prompts::Icon::Exclamation);
        *end = CommandEnd::Refused;
    }
    return false;
}

Checked askSoftwareVersion(FactorySession &s)
{
    return askChecked(s, QStringLiteral("Enter Brevo Sw_Ver"), QStringLiteral("Get new Brevo Firmware # (Sw_Ver)"),
                      checkSoftwareVersion);
}

void keepSerialBytes(OperationRecord &state, const SerialBytes &bytes)
{
    for (int i = 0; i < 4; ++i)
        state.factory.newSerialBytes[1 + i] = bytes[i];
}

// The confirmation of the commands that "Make NEW Brevo" may run without dialogs.
bool confirmUnlessQuiet(FactorySession &s, const QString &title, const QString &warning)
{
    if (!s.ctx.state.transfer.askUser) {
        s.ctx.prompts.beep();
        return true;
    }
    return confirm(s, title, warning);
}

void writeBlock(SerialLink &link, const EepromBlock &block)
{
    link.sendFrameAt(proto::kWrite24C512, int(block.bytes.size()) & 0xFF, block.address);
    link.sendEchoedBlock(block.bytes);
}

void writeSystemBlock(SerialLink &link, const BlockBytes &block)
{
    link.emptyBuffer();
    link.sendFrame(proto::kWriteInternalNvm, 0, 0, 0);
    link.sendEchoedBlock(QByteArray(reinterpret_cast<const char *>(block.data()), int(block.size())));
}

// The confirmation, then the unit's serial number, product code and software
// version, kept in the editor's state once all three are given. False, with `end`
// set, when one is cancelled or refused.
bool askNewUnitDetails(FactorySession &s, CommandEnd *end)
{
    OperationRecord &state = s.ctx.state;
    *end = CommandEnd::Cancelled;
    if (!confirm(s, QStringLiteral("Upload new data to new Tessaro"),
                 QStringLiteral("This will overwrite everything in the Tessaro !")))
        return false;
    SerialBytes serial{};
    if (!askSerialNumber(s, QStringLiteral("Enter Brevo Serial Number YMMDDnnn"),
                         QStringLiteral("Get new Brevo Serial Number"), &serial, end))
        return false;
    const Checked product = askChecked(s, QStringLiteral("Enter Brevo product code (1=Tessaro, 2=Lumisk, 3=Corvane)"),
                                       QStringLiteral("Get new Brevo Product Code"), checkProductCode);
    if (!product.ok) {
        *end = endOf(product);
        return false;
    }
    const Checked version = askSoftwareVersion(s);
    if (!version.ok) {
        *end = endOf(version);
        return false;
    }
    keepSerialBytes(state, serial);
    state.instrument.productCode = quint8(product.value);
    state.factory.newSoftwareVersion = quint8(version.value);
    state.factory.newSoftwareVersionEntered = true;
    return true;
}

// The program modules in order, then the defaults into the editor and the product
// code into the unit; each part recorded, so a lost link or a Cancel says what the
// unit now holds. Done when everything was written.
CommandEnd writeNewUnit(FactorySession &s, const QString &title, const QVector<LoadedModule> &modules)
{
    OperationRecord &state = s.ctx.state;
    SerialLink &link = s.ctx.link;
    link.resetEchoCounts();
    s.output.clear();
    WrittenParts parts(&link);
    QList<int> numbers;
    for (int n = 1; n <= modules.size(); ++n)
        numbers << n;
    const int modulePart = parts.add(QStringLiteral("program module"), QStringLiteral("program modules"), numbers);
    const int productPart = parts.add(QStringLiteral("the product code"));
    try {
        for (int n = 1; n <= modules.size(); ++n) {
            const LoadedModule &m = modules.at(n - 1);
            state.factory.codeSectorCount = quint16(m.image.sectorCount());
            state.factory.codeTargetAddress = quint16(m.module.address);
            parts.begin(modulePart, n);
            const CommandEnd written = writeCodeImage(s, m.image, m.module.address);
            if (written == CommandEnd::Cancelled) {
                s.ctx.prompts.message(title, QStringLiteral("Cancelled.\r\n") + parts.describe(),
                                      Prompts::Icon::Information);
                return written;
            }
            if (written != CommandEnd::Done)
                return CommandEnd::NotConnected;
            parts.written(modulePart, n);
            if (n < modules.size() && stopIfCancelled(s, title, parts))
                return CommandEnd::Cancelled;
        }
        writeDefaultImage(state, state.factory.newUnitMode);
        state.imageChange = ImageChange::Replaced;
        parts.begin(productPart);
        link.emptyBuffer();
        link.sendFrameAt(proto::kWrite24C512, 1, proto::kProductCodeAddress);
        link.sendByte(state.instrument.productCode);
        link.delay(0.1);
        parts.written(productPart);
    } catch (const LinkLost &lost) {
        s.output.append(QStringLiteral("\r\n") + parts.describe());
        throw parts.lost(lost);
    }
    return CommandEnd::Done;
}

} // namespace

CommandEnd makeNewUnit(FactorySession &s)
{
    const QString title = QStringLiteral("Make NEW Brevo");
    // A module that is missing or damaged is found before the unit is touched.
    const auto modules = loadProgramModules(QDir::currentPath());
    if (!modules.ok()) {
        tell(s, title, modules.error + kNothingSent);
        return CommandEnd::Refused;
    }
    CommandEnd end = CommandEnd::Cancelled;
    if (!askNewUnitDetails(s, &end))
        return end;

    NewUnitRun run(s.ctx.state);
    const CommandEnd written = writeNewUnit(s, title, modules.value);
    if (written != CommandEnd::Done)
        return written;

    // The new serial number waits for the next upload only when every byte of the
    // unit's modules was confirmed: an incomplete unit must not be stamped with it.
    if (!reportMissedEchoes(s, title))
        return CommandEnd::Failed;
    run.succeeded();
    run.finish();
    s.ctx.prompts.message(applicationTitle(),
                          QStringLiteral("DONE!\r\nNow load configurations file and program configurations"),
                          Prompts::Icon::None);
    if (s.hideWindow)
        s.hideWindow();
    return CommandEnd::Done;
}

CommandEnd writeNewSerialNumber(FactorySession &s)
{
    OperationRecord &state = s.ctx.state;
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Upload new Serial Number to Tessaro");
    if (!confirm(s, title, QStringLiteral("This will overwrite the Serial Number in the Tessaro !")))
        return CommandEnd::Cancelled;
    SerialBytes serial{};
    CommandEnd end = CommandEnd::Cancelled;
    if (!askSerialNumber(s, QStringLiteral("Enter Tessaro Serial Number YMMDDnnn"),
                         QStringLiteral("Get new Tessaro Serial Number"), &serial, &end))
        return end;
    // Without a version entered in this run, byte 94 would otherwise receive 0.
    if (!state.factory.newSoftwareVersionEntered) {
        const Checked version = askSoftwareVersion(s);
        if (!version.ok)
            return endOf(version);
        state.factory.newSoftwareVersion = quint8(version.value);
        state.factory.newSoftwareVersionEntered = true;
    }
    keepSerialBytes(state, serial);

    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    link.delay(0.2);
    s.ctx.view.setProgress(0);
    s.ctx.view.showProgress();
    BlockBytes block{};
    if (!readInstrumentSystemBlock(s, title, QString(), block.data()))
        return CommandEnd::Failed;
    applyNewSerialNumber(block, serial, state.factory.newSoftwareVersion);
    link.resetEchoCounts();
    s.ctx.view.setProgress(1);
    writeSystemBlock(link, block);
    link.delay(0.1);
    s.ctx.view.hideProgress();
    return reportMissedEchoes(s, title) ? CommandEnd::Done : CommandEnd::Failed;
}

CommandEnd zero24C512Logs(FactorySession &s)
{
    OperationRecord &state = s.ctx.state;
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Clear Tessaro Logs, etc.");
    if (!confirmUnlessQuiet(s, title,
                            QStringLiteral("This will overwrite the Distance, Fuel Logs and Date-Of-First-Use in the "
                                           "Tessaro 24C512!")))
        return CommandEnd::Cancelled;
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;

    const LogBlock log = buildLogBlock(state.systemBlock);
    link.resetEchoCounts();
    link.emptyBuffer();
    writeBlock(link, {0, QByteArray(reinterpret_cast<const char *>(log.data()), int(log.size()))});
    link.emptyBuffer();
    link.delay(0.25);
    writeBlock(link, {int(log.size()), erasedLogTail()});
    link.delay(1.0);

    BlockBytes block{};
    if (!readInstrumentSystemBlock(s, title, QStringLiteral("The logs were cleared. "), block.data()))
        return CommandEnd::Failed;
    applyFactorySettings(block, state.instrument.productCode);
    writeSystemBlock(link, block);
    link.delay(0.1);
    s.ctx.prompts.beep();
    return reportMissedEchoes(s, title) ? CommandEnd::Done : CommandEnd::Failed;
}

CommandEnd uploadCalibrationCurves(FactorySession &s)
{
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Upload Calibration Curves from PC to Tessaro");
    const auto curves = readCalibrationFile(QDir::current().filePath(calibrationFileName()));
    if (!curves.ok()) {
        tell(s, title, curves.error + kNothingSent);
        return CommandEnd::Refused;
    }
    if (!confirmUnlessQuiet(s, title,
                            QStringLiteral("This will overwrite all the Calibration Curves in the Tessaro !")))
        return CommandEnd::Cancelled;
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    s.ctx.view.setProgress(0);
    s.ctx.view.showProgress();
    link.resetEchoCounts();
    WrittenParts parts(&link);
    QList<int> numbers;
    for (int c = 1; c <= curves.value.size(); ++c)
        numbers << c;
    const int curvePart = parts.add(QStringLiteral("calibration curve"), QStringLiteral("calibration curves"), numbers);
    try {
        for (int c = 1; c <= curves.value.size(); ++c) {
            const EepromBlock &curve = curves.value.at(c - 1);
            link.emptyBuffer();
            parts.begin(curvePart, c);
            link.sendFrameAt(proto::kWrite24C512, proto::kCurveSize, curve.address);
            s.ctx.view.setProgress(5 * c / 10);
            link.sendEchoedBlock(curve.bytes);
            parts.written(curvePart, c);
            link.delay(0.05);
            if (c < curves.value.size() && stopIfCancelled(s, title, parts))
                return CommandEnd::Cancelled;
        }
    } catch (const LinkLost &lost) {
        throw parts.lost(lost);
    }
    s.ctx.view.hideProgress();
    return reportMissedEchoes(s, title) ? CommandEnd::Done : CommandEnd::Failed;
}

CommandEnd uploadNmeaTables(FactorySession &s)
{
    OperationRecord &state = s.ctx.state;
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Upload display configurations from PC to Tessaro");
    // Both files are read whole before anything is asked or sent.
    const auto tables = readNmeaTables(QDir::current().filePath(state.factory.nmeaTableFileName));
    if (!tables.ok()) {
        tell(s, title, tables.error + kNothingSent);
        return CommandEnd::Refused;
    }
    const auto points = readDecimalPoints(QDir::current().filePath(state.factory.decimalPointsFileName));
    if (!points.ok()) {
        tell(s, title, points.error + kNothingSent);
        return CommandEnd::Refused;
    }
    if (!confirmUnlessQuiet(s, title,
                            QStringLiteral("This will overwrite all the display configurations in the Tessaro !")))
        return CommandEnd::Cancelled;
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    s.ctx.view.setProgress(0);
    s.ctx.view.showProgress();
    link.emptyBuffer();
    link.resetEchoCounts();
    const QVector<EepromBlock> blocks = nmeaUploadBlocks(tables.value);
    WrittenParts parts(&link);
    QList<int> numbers;
    for (int g = 1; g <= blocks.size(); ++g)
        numbers << g;
    const int tablePart = parts.add(QStringLiteral("NMEA table block"), QStringLiteral("NMEA table blocks"), numbers);
    const int pointsPart = parts.add(QStringLiteral("the decimal points"), true);
    try {
        for (int g = 1; g <= blocks.size(); ++g) {
            parts.begin(tablePart, g);
            writeBlock(link, blocks.at(g - 1));
            link.delay(0.05);
            parts.written(tablePart, g);
            s.ctx.view.setProgress(kProgressSteps * g / int(blocks.size()));
            if (stopIfCancelled(s, title, parts))
                return CommandEnd::Cancelled;
        }
        parts.begin(pointsPart);
        writeBlock(link, decimalPointBlock(points.value));
        parts.written(pointsPart);
    } catch (const LinkLost &lost) {
        throw parts.lost(lost);
    }
    s.ctx.view.hideProgress();
    return reportMissedEchoes(s, title) ? CommandEnd::Done : CommandEnd::Failed;
}

} // namespace factory
