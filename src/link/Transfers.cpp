#include "link/Transfers.h"
#include "link/TransferReports.h"

#include "core/ImageLayout.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "core/TransferRules.h"
#include "link/ConfirmedRead.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentImage.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"
#include "link/UploadCheck.h"
#include "link/WrittenParts.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cstring>
#include <optional>

Q_LOGGING_CATEGORY(lcTransfer, "corvane.transfer")

bool InstrumentContext::ensureConnected()
{
    if (!state.link.connected && connect)
        connect();
    return state.link.connected;
}

namespace transfer
{

// The closing steps of backup and restore.
void releaseAfterCopy(InstrumentContext &ctx)
{
    ctx.view.hideProgress();
    ctx.link.writeLinkByte(proto::kLinkByteReleased);
    ctx.link.delay(0.1);
    leaveCommandMode(ctx, proto::kClearRam, LinkStatus::NotConnectedTessaro);
}

namespace
{

// A settings block that holds a backup: its checksum matches and it is not erased
// (or cleared) memory, whose checksum matches as well.
bool isValidSettingsBackup(const quint8 *block)
{
    const auto all = [block](quint8 value) {
        return std::all_of(block, block + 256, [value](quint8 b) { return b == value; });
    };
    return !all(0xFF) && !all(0) && systemBlockChecksum(block) == block[layout::kSystemChecksum];
}

// A sector of the configuration memory (0 to 6143) that holds display configuration
// bytes, kept in `image`; answers the configuration (0: none).
int keepConfigurationSector(ConfigImage &image, int address, const quint8 *sector)
{
    if (address < proto::kConfigBlockBase || address >= proto::kConfigBlockBase + 16 * proto::kConfigBlockSize)
        return 0;
    const int offset = address - proto::kConfigBlockBase;
    const int n = offset / proto::kConfigBlockSize + 1;
    memcpy(image.blocks[n] + offset % proto::kConfigBlockSize, sector, proto::kSectorSize);
    return n;
}

} // namespace

Outcome download(InstrumentContext &ctx, CategoryQuestion &question)
{
    ctx.link.clearTrouble();
    OperationRecord &s = ctx.state;
    SerialLink &link = ctx.link;
    const QString title = QStringLiteral("Download");

    ctx.prompts.beep();
    Categories downloadable, chosen;
    for (int i = 1; i <= kCategories; ++i) {
        downloadable[i] = isDownloadable(i);
        chosen[i] = s.transfer.download[i] != 0;
    }
    const CategoryAnswer answer = question.ask(
        QStringLiteral("WARNING . . . Download data from Corvane to PC.    Are you sure?"), downloadable, chosen);
    for (int i = 1; i <= kCategories; ++i)
        s.transfer.download[i] = (downloadable[i] && answer.chosen[i]) ? 1 : 0;
    if (!answer.proceed)
        return Outcome::Cancelled;

    {
        const std::optional<ConfirmedRead> settings = connectAndReadSettings(ctx);
        if (!settings)
            return Outcome::NotConnected;
        const ConfirmedRead &read = *settings;
        if (!read.ok()) {
            link.delay(0.25);
            leaveCommandMode(ctx, proto::kSoftReset);
            ctx.view.hideProgress();
            ctx.prompts.message(title,
                                QStringLiteral("The download failed: the instrument's settings %1.\r\n"
                                               "Nothing was changed.")
                                    .arg(readProblemText(read.problem)),
                                Prompts::Icon::Critical);
            return Outcome::Failed;
        }
        for (int c : downloadOrder()) {
            if (!s.transfer.download[c])
                continue;
            for (int b : categoryBytes(c))
                s.systemBlock[b] = quint8(read.bytes[b]);
        }
        s.imageChange = ImageChange::Settings;
        s.known = ImageAreas::settingsOnly();
        memcpy(s.instrumentImage.system, read.bytes.constData(), 256);
        link.delay(0.25);
        leaveCommandMode(ctx, proto::kSoftReset);
        ctx.view.hideProgress();
        return Outcome::Done;
    }
}

Outcome createBackup(InstrumentContext &ctx)
{
    ctx.link.clearTrouble();
    SerialLink &link = ctx.link;
    const QString title = QStringLiteral("Create System Backup");
    {
        if (!ctx.ensureConnected())
            return Outcome::NotConnected;
        link.resetEchoCounts();
        link.writeLinkByte(proto::kLinkByteConnected);
        ctx.view.setProgress(0);
        ctx.view.showProgress();

        // A settings block the instrument reads back damaged would replace a good backup.
        const ConfirmedRead settings = readSystemBlock(ctx);
        if (!settings.ok()) {
            releaseAfterCopy(ctx);
            if (settings.problem == ConfirmedRead::Problem::Rejected)
                ctx.prompts.message(title,
                                    QStringLiteral("The instrument's settings read back damaged (wrong checksum).\r\n"
                                                   "The backup was not changed."),
                                    Prompts::Icon::Critical);
            else
                reportIncompleteCopy(ctx, title, QStringLiteral("its settings (internal memory 0 to 255)"));
            return Outcome::Failed;
        }
        quint8 sector[256] = {};
        memcpy(sector, settings.bytes.constData(), 256);
        OperationRecord &s = ctx.state;
        memcpy(s.instrumentImage.system, sector, 256);
        ImageAreas read = ImageAreas::settingsOnly();
        for (int i = 1; i <= 4; ++i) {
            link.sendFrameAt(proto::kWrite24C512, proto::kSectorSize, proto::kSystemBackup + 64 * (i - 1));
            link.sendEchoedBlock(sector + 64 * (i - 1), 64);
            ctx.view.setProgress(i);
        }
        for (int sIndex = 1; sIndex <= 96; ++sIndex) {
            const int from = 64 * (sIndex - 1);
            if (!readSector(link, from, sector)) {
                releaseAfterCopy(ctx);
                reportIncompleteCopy(ctx, title,
                                     QStringLiteral("its memory at addresses %1 to %2").arg(from).arg(from + 63));
                return Outcome::Failed;
            }
            if (const int n = keepConfigurationSector(s.instrumentImage, from, sector); n > 0)
                read.configurations[n - 1] = true;
            link.sendFrameAt(proto::kWrite24C512, proto::kSectorSize, proto::kLowAreaBackup + from);
            link.sendEchoedBlock(sector, 64);
            ctx.view.setProgress(sIndex / 8 + 5);
            if (sIndex < 96 && link.cancelRequested()) {
                releaseAfterCopy(ctx);
                reportCancelled(ctx, title,
                                QStringLiteral("The backup was cancelled after %1 of 96 memory sectors: the backup in "
                                               "the instrument is incomplete. Make a new backup before relying on it.")
                                    .arg(sIndex));
                return Outcome::Cancelled;
            }
        }
        // What it read: the instrument's settings and display configurations.
        s.known = read;
        releaseAfterCopy(ctx);
        reportUnacknowledgedBytes(link, ctx.prompts, title);
        return Outcome::Done;
    }
}

namespace
{

// The backed-up settings are read and checked before anything is written: an
// instrument never backed up holds erased memory there (its checksum even
// matches), and copying it would wipe the settings, serial number included.
// Done when they can be used; otherwise reported: Failed when they did not arrive
// intact, Refused when the instrument holds no valid backup (nothing was written).
Outcome readSettingsBackup(InstrumentContext &ctx, const QString &title, quint8 *settings)
{
    for (int i = 1; i <= 4; ++i) {
        const int from = proto::kSystemBackup + 64 * (i - 1);
        if (!readSector(ctx.link, from, settings + 64 * (i - 1))) {
            releaseAfterCopy(ctx);
            reportIncompleteCopy(
                ctx, title,
                QStringLiteral("the backup of its settings (memory at addresses %1 to %2)").arg(from).arg(from + 63));
            return Outcome::Failed;
        }
    }
    if (!isValidSettingsBackup(settings)) {
        releaseAfterCopy(ctx);
        ctx.prompts.message(title, QStringLiteral("The instrument holds no valid backup. Nothing was restored."),
                            Prompts::Icon::Critical);
        return Outcome::Refused;
    }
    return Outcome::Done;
}

// Writes the backed-up settings, then copies the 96 backed-up sectors into the
// configuration memory, each recorded so a lost link or a Cancel says what the
// instrument now holds. Done when every sector was written.
Outcome writeBackupBack(InstrumentContext &ctx, const QString &title, const quint8 *settings)
{
    SerialLink &link = ctx.link;
    WrittenParts parts(&link);
    const int settingsPart = parts.add(QStringLiteral("the settings"), true);
    QList<int> sectors;
    for (int n = 1; n <= 96; ++n)
        sectors << n;
    const int memoryPart = parts.add(QStringLiteral("configuration memory sector"),
                                     QStringLiteral("configuration memory sectors"), sectors);
    quint8 sector[64] = {};
    OperationRecord &s = ctx.state;
    memcpy(s.instrumentImage.system, settings, 256);
    try {
        parts.begin(settingsPart);
        for (int i = 1; i <= 4; ++i) {
            link.sendFrameAt(proto::kWriteInternalNvm, proto::kSectorSize, 64 * (i - 1));
            link.delay(0.1);
            link.sendEchoedBlock(settings + 64 * (i - 1), 64);
            ctx.view.setProgress(i);
        }
        parts.written(settingsPart);
        for (int sIndex = 1; sIndex <= 96; ++sIndex) {
            const int from = proto::kLowAreaBackup + 64 * (sIndex - 1);
            if (!readSector(link, from, sector)) {
                releaseAfterCopy(ctx);
                reportIncompleteCopy(ctx, title,
                                     QStringLiteral("the backup at addresses %1 to %2").arg(from).arg(from + 63),
                                     parts.describe());
                return Outcome::Failed;
            }
            keepConfigurationSector(s.instrumentImage, 64 * (sIndex - 1), sector);
            parts.begin(memoryPart, sIndex);
            link.sendFrameAt(proto::kWrite24C512, proto::kSectorSize, 64 * (sIndex - 1));
            link.sendEchoedBlock(sector, 64);
            parts.written(memoryPart, sIndex);
            ctx.view.setProgress(sIndex + 4);
            if (sIndex < 96 && link.cancelRequested()) {
                releaseAfterCopy(ctx);
                ctx.state.written = parts.describe();
                reportCancelled(ctx, title, QStringLiteral("The restore was cancelled.\r\n") + ctx.state.written);
                return Outcome::Cancelled;
            }
        }
    } catch (const LinkLost &lost) {
        throw parts.lost(lost);
    }
    return Outcome::Done;
}

} // namespace

Outcome restoreBackup(InstrumentContext &ctx)
{
    ctx.link.clearTrouble();
    SerialLink &link = ctx.link;
    const QString title = QStringLiteral("Restore All from Backup");
    if (!ctx.ensureConnected())
        return Outcome::NotConnected;
    link.resetEchoCounts();
    link.writeLinkByte(proto::kLinkByteConnected);
    ctx.view.setProgressMaximum(100);
    // The bar goes back to its usual range however the restore ends.
    struct UsualRange {
        InstrumentView &view;
        ~UsualRange() { view.setProgressMaximum(17); }
    } usualRange{ctx.view};
    ctx.view.setProgress(0);
    ctx.view.showProgress();

    quint8 settings[256] = {};
    const Outcome read = readSettingsBackup(ctx, title, settings);
    if (read != Outcome::Done)
        return read;
    const Outcome written = writeBackupBack(ctx, title, settings);
    if (written != Outcome::Done)
        return written;
    // The instrument holds what was written and confirmed: the settings and the
    // display configurations (the curves lie outside the memory a backup keeps).
    ImageAreas restored = ImageAreas::settingsOnly();
    restored.configurations.fill(true);
    ctx.state.known = restored.without(link.imageWrites().unconfirmed());
    releaseAfterCopy(ctx);
    reportUnacknowledgedBytes(link, ctx.prompts, title);
    return Outcome::Done;
}

} // namespace transfer
