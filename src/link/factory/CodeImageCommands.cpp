#include "link/factory/CodeImageCommands.h"

#include "core/EditorState.h"
#include "core/ImageLayout.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "core/factory/CodeImageFile.h"
#include "core/factory/FactoryAnswers.h"
#include "core/factory/FactoryOutput.h"
#include "core/factory/FactoryText.h"
#include "core/factory/HexFile.h"
#include "link/ConfirmedRead.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/SerialLink.h"
#include "link/WrittenParts.h"

namespace factory
{
namespace
{

const QString kCodeFilter = QStringLiteral("Files (*.COD)| *.COD");
// A flash ROM sector read waits at most this long.
constexpr double kSectorWait = 1.0;
constexpr int kProgressSteps = 16;

// Reads one flash ROM sector into `values`, two readings the same: the file written
// from it is later programmed into units as it is.
bool readFlashSector(FactorySession &s, int address, QVector<int> *values)
{
    const transfer::ConfirmedRead read =
        transfer::readConfirmed(s.ctx.link, proto::kReadFlash, proto::kSectorSize, address, kSectorWait);
    s.ctx.prompts.beep();
    if (!read.ok())
        return false;
    values->clear();
    for (char b : read.bytes)
        values->append(quint8(b));
    return true;
}

} // namespace

CommandEnd hexToCodeFile(FactorySession &s)
{
    const QString title = QStringLiteral("Read code from HEX file and create .COD file");
    s.ctx.prompts.beep();
    s.output.clear();
    const QString hexPath = s.ctx.prompts.openFile(QStringLiteral("Read code at location 7182 from HEX file: "),
                                                   QStringLiteral("Files (*.HEX)| *.HEX"));
    if (hexPath.isEmpty())
        return CommandEnd::Cancelled;
    const auto image = readHexFile(hexPath);
    if (!image.ok()) {
        tell(s, title, image.error + QStringLiteral("\r\nNo .COD file was written."));
        return CommandEnd::Refused;
    }
    const QString codPath = s.ctx.prompts.saveFile(QStringLiteral("Save code to .COD file: "), kCodeFilter);
    if (codPath.isEmpty())
        return CommandEnd::Cancelled;
    const QString problem = CodeImageFile::write(codPath, image.value);
    if (!problem.isEmpty()) {
        tell(s, title, problem);
        return CommandEnd::Failed;
    }
    return CommandEnd::Done;
}

CommandEnd flashToCodeFile(FactorySession &s)
{
    const QString title = QStringLiteral("Read from Flash ROM and Save to .COD File");
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    const Checked start =
        askChecked(s, QStringLiteral("Enter Flash ROM address to read from or 'OK' to read from NvmLoc. 7,168"),
                   QStringLiteral("Flash ROM location to read from or 7,168"), checkFlashReadAddress);
    if (!start.ok)
        return endOf(start);
    const Checked sectors =
        askChecked(s, QStringLiteral("Enter number of 64 byte Sectors 'N' to read from Flash ROM location 7,168"),
                   QStringLiteral("Read ROM Sectors from Flash at location 7,168"), checkFlashReadSectors);
    if (!sectors.ok)
        return endOf(sectors);
    const QString path = s.ctx.prompts.saveFile(QStringLiteral("Save Settings to File: "), kCodeFilter);
    if (path.isEmpty())
        return CommandEnd::Cancelled;

    CodeImage image;
    image.firstAddress = int(start.value);
    image.origin = CodeImageOrigin::FlashRom;
    QVector<int> values;
    for (int u = 1; u <= sectors.value; ++u) {
        const int a = int(start.value) + proto::kSectorSize * (u - 1);
        if (!readFlashSector(s, a, &values)) {
            // A file with a sector missing would pass for a whole image later.
            tell(s, title,
                 QStringLiteral("The instrument did not send the flash ROM sector at %1 to %2 intact.\r\n"
                                "No file was written: check the cable and the power, then try again.")
                     .arg(a)
                     .arg(a + proto::kSectorSize - 1));
            return CommandEnd::Failed;
        }
        s.output.setText(flashSectorText(values));
        for (int v : values)
            image.bytes.append(char(v));
    }
    const QString problem = CodeImageFile::write(path, image);
    if (!problem.isEmpty()) {
        tell(s, title, problem);
        return CommandEnd::Failed;
    }
    return CommandEnd::Done;
}

CommandEnd writeCodeImage(FactorySession &s, const CodeImage &image, int address)
{
    SerialLink &link = s.ctx.link;
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    s.ctx.view.setProgress(0);
    s.ctx.view.showProgress();
    const int sectors = image.sectorCount();
    // Each sector recorded, so a lost link says which the 24C512 holds.
    WrittenParts parts(&link);
    QList<int> numbers;
    for (int b = 1; b <= sectors; ++b)
        numbers << b;
    const int sectorPart =
        parts.add(QStringLiteral("code image sector"), QStringLiteral("code image sectors"), numbers);
    const qint64 unconfirmedBefore = link.traffic().unconfirmed;
    try {
        for (int b = 1; b <= sectors; ++b) {
            const int a = address + proto::kSectorSize * (b - 1);
            s.output.append(writingSectorLine(b, a));
            parts.begin(sectorPart, b);
            link.sendFrameAt(proto::kWrite24C512, proto::kSectorSize, a);
            link.sendEchoedBlock(image.sector(b));
            parts.written(sectorPart, b);
            s.ctx.view.setProgress(kProgressSteps * b / sectors);
            // Cancel in the progress window: stop between whole sectors.
            if (b < sectors && link.cancelRequested()) {
                s.output.append(QStringLiteral("\r\nCancelled after sector %1 of %2.\r\n").arg(b).arg(sectors));
                s.ctx.view.hideProgress();
                return CommandEnd::Cancelled;
            }
        }
    } catch (const LinkLost &lost) {
        s.output.append(QStringLiteral("\r\n") + parts.describe());
        throw parts.lost(lost);
    }
    // "Done" only for an image whose every byte the instrument confirmed.
    if (link.traffic().unconfirmed == unconfirmedBefore)
        s.output.append(transferDoneText());
    s.ctx.view.hideProgress();
    return CommandEnd::Done;
}

CommandEnd codeFileTo24C512(FactorySession &s)
{
    const QString title = QStringLiteral("Upload ROM code from File to Tessaro 24C512 EEPROM");
    if (!confirm(s, title, QStringLiteral("This will overwrite the 24C512 EEPROM in the Tessaro !")))
        return CommandEnd::Cancelled;
    s.output.clear();
    const QString path = s.ctx.prompts.openFile(QStringLiteral("Read ROM code from file: "), kCodeFilter);
    if (path.isEmpty())
        return CommandEnd::Cancelled;
    const auto image = CodeImageFile::read(path);
    if (!image.ok()) {
        tell(s, title, image.error + QStringLiteral("\r\nNothing was sent."));
        return CommandEnd::Refused;
    }
    const int sectors = image.value.sectorCount();
    const QString addressTitle = QStringLiteral("24C512 ROM location to save ROM data to");
    const Checked target = checkCodeTargetAddress(
        ask(s, QStringLiteral("Enter 24C512 address to save to (16,384 to 32,767)"), addressTitle), sectors);
    if (!target.ok) {
        if (!target.cancelled())
            s.ctx.prompts.message(addressTitle, target.message, Prompts::Icon::Critical);
        return endOf(target);
    }
    s.ctx.state.factory.codeSectorCount = quint16(sectors);
    s.ctx.state.factory.codeTargetAddress = quint16(target.value);
    s.ctx.link.resetEchoCounts();
    const CommandEnd end = writeCodeImage(s, image.value, int(target.value));
    if (end == CommandEnd::Cancelled)
        s.ctx.prompts.message(title,
                              QStringLiteral("Cancelled: the 24C512 holds only the first part of the code image."),
                              Prompts::Icon::Information);
    if (end == CommandEnd::Done && !reportMissedEchoes(s, title))
        return CommandEnd::Failed;
    return end;
}

CommandEnd copyCodeToFlash(FactorySession &s)
{
    SerialLink &link = s.ctx.link;
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    const Checked source =
        askChecked(s, QStringLiteral("Enter 24C512 Start Address"),
                   QStringLiteral("Copy program code from 24C512 NVM to flash ROM at 7,168"), checkCopySourceAddress);
    if (!source.ok)
        return endOf(source);
    const Checked count = askChecked(s, QStringLiteral("Enter number of 64 byte Sectors to copy (1-16)"),
                                     QStringLiteral("Copy how many 64 byte Sectors from 24C512 NVM?"),
                                     [&source](const QString &a) { return checkCopySectorCount(a, source.value); });
    if (!count.ok)
        return endOf(count);
    link.emptyBuffer();
    link.sendFrameAt(proto::kCopyToFlash, int(count.value), int(source.value));
    link.delay(1.0);
    s.ctx.state.systemBlock[layout::kCodeCopyMark] = 0;
    return CommandEnd::Done;
}

} // namespace factory
