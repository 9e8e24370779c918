#include "link/Transfers.h"

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

// Cancel is honoured between whole blocks: the operation ends with its usual
// closing bytes and says what the instrument now holds.
void reportCancelled(InstrumentContext &ctx, const QString &title, const QString &what)
{
    ctx.view.hideProgress();
    ctx.prompts.message(title, what, Prompts::Icon::Information);
}

QString readProblemText(ConfirmedRead::Problem problem)
{
    switch (problem) {
    case ConfirmedRead::Problem::Rejected:
        return QStringLiteral("arrived damaged (wrong checksum)");
    case ConfirmedRead::Problem::Unsteady:
        return QStringLiteral("arrived garbled (two readings differed)");
    default:
        return QStringLiteral("did not arrive completely");
    }
}

void reportIncompleteCopy(InstrumentContext &ctx, const QString &title, const QString &area,
                          const QString &written = QString())
{
    ctx.prompts.message(title,
                        QStringLiteral("The instrument did not send the data of %1 intact.\r\n"
                                       "The copy is incomplete: nothing more was written. Check the cable and "
                                       "the power, then try again.")
                                .arg(area) +
                            (written.isEmpty() ? QString() : QStringLiteral("\r\n") + written),
                        Prompts::Icon::Critical);
}

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

// The overwrite warning of the upload, asked again after each "Compare first…";
// false when the user cancelled.
bool confirmUpload(InstrumentContext &ctx, CategoryQuestion &question, const PcClock &pc)
{
    OperationRecord &s = ctx.state;
    ctx.prompts.beep();
    question.dismiss();
    Categories all, chosen;
    for (int i = 1; i <= kCategories; ++i) {
        all[i] = true;
        chosen[i] = s.transfer.upload[i] != 0;
    }
    while (s.transfer.askUser) {
        const CategoryAnswer answer =
            question.ask(QStringLiteral("WARNING . . . Upload data from PC to Corvane.    Are you sure?"), all, chosen);
        chosen = answer.chosen;
        for (int i = 1; i <= kCategories; ++i)
            s.transfer.upload[i] = chosen[i] ? 1 : 0;
        if (answer.compareFirst) {
            compareBeforeUpload(ctx, question, pc);
            continue;
        }
        if (!answer.proceed)
            return false;
        break;
    }
    return true;
}

// What goes out is the image as it is now: the upload's waits let window events
// run, and an edit meanwhile must not change a block half sent or its checksum.
struct UploadImage {
    quint8 system[257];
    quint8 blocks[17][129];
    EncodedCurve curves[33];
};

// Curves that cannot be encoded are refused before anything is sent.
bool encodeUploadedCurves(InstrumentContext &ctx, const QString &title, UploadImage &image)
{
    if (!ctx.state.transfer.upload[4])
        return true;
    for (int k : uploadedCurves()) {
        image.curves[k] = encodeCurve(ctx.state, k);
        if (!image.curves[k].ok) {
            ctx.prompts.message(title,
                                QStringLiteral("Sender curve %1 cannot be sent to the instrument:\r\n"
                                               "point %2: %3.\r\nNothing was sent.")
                                    .arg(k)
                                    .arg(image.curves[k].point)
                                    .arg(image.curves[k].problem),
                                Prompts::Icon::Critical);
            return false;
        }
    }
    return true;
}

void reportUnreadSettings(InstrumentContext &ctx, const QString &title)
{
    leaveCommandMode(ctx, proto::kSoftReset);
    ctx.view.hideProgress();
    ctx.prompts.message(title,
                        QStringLiteral("The instrument's settings could not be read correctly. "
                                       "Nothing was written."),
                        Prompts::Icon::Critical);
}

// The upload's writes in order: the settings, the display configurations, the
// sender curves. Each is recorded as it goes, so a lost link or a Cancel says what
// the instrument now holds.
class UploadWrites
{
public:
    UploadWrites(InstrumentContext &ctx, const QString &title)
        : m_ctx(ctx), m_link(ctx.link), m_title(title), m_parts(&ctx.link)
    {
        const OperationRecord &s = ctx.state;
        m_settingsPart = m_parts.add(QStringLiteral("the settings"), true);
        m_displayPart = m_parts.add(
            QStringLiteral("display configuration"), QStringLiteral("display configurations"),
            s.transfer.upload[1] ? QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16} : QList<int>{});
        m_curvePart = m_parts.add(QStringLiteral("sender curve"), QStringLiteral("sender curves"),
                                  s.transfer.upload[4] ? uploadedCurves() : QList<int>{});
    }

    // False when the user cancelled (already reported and command mode left).
    bool run(const quint8 *settings, UploadImage &image)
    {
        try {
            if (cancelled())
                return false;
            return writeSettings(settings) && writeDisplays(image.blocks) && writeCurves(image.curves);
        } catch (const LinkLost &lost) {
            throw m_parts.lost(lost);
        }
    }

private:
    bool cancelled()
    {
        if (!m_link.cancelRequested())
            return false;
        leaveCommandMode(m_ctx, proto::kSoftReset);
        m_ctx.state.written = m_parts.describe();
        reportCancelled(m_ctx, m_title, QStringLiteral("The upload was cancelled.\r\n") + m_ctx.state.written);
        return true;
    }

    bool writeSettings(const quint8 *settings)
    {
        m_link.resetEchoCounts();
        m_link.emptyBuffer();
        m_ctx.view.setProgress(1);
        m_parts.begin(m_settingsPart);
        m_link.sendFrame(proto::kWriteInternalNvm, 0, 0, 0);
        m_link.sendEchoedBlock(settings, 256);
        m_parts.written(m_settingsPart);
        m_link.delay(0.1);
        return !cancelled();
    }

    bool writeDisplays(quint8 (&blocks)[17][129])
    {
        OperationRecord &s = m_ctx.state;
        if (!s.transfer.upload[1])
            return true;
        for (int n = 1; n <= 16; ++n) {
            m_ctx.view.setProgress(n * 2 / 3 + 1);
            blocks[n][layout::kBlockChecksum] = configBlockChecksum(blocks[n]);
            s.configBlock[n][layout::kBlockChecksum] = configBlockChecksum(s.configBlock[n]);
            s.imageChange = ImageChange::Checksums;
            m_parts.begin(m_displayPart, n);
            m_link.sendFrameAt(proto::kWrite24C512, proto::kConfigBlockSize,
                               proto::kConfigBlockBase + proto::kConfigBlockSize * (n - 1));
            m_link.sendEchoedBlock(blocks[n], proto::kConfigBlockSize);
            m_parts.written(m_displayPart, n);
            m_link.delay(0.5);
            if (cancelled())
                return false;
        }
        return true;
    }

    bool writeCurves(const EncodedCurve (&curves)[33])
    {
        if (!m_ctx.state.transfer.upload[4])
            return true;
        for (int k = 1; k <= 32; ++k) {
            m_ctx.view.setProgress(k * 6 / 32 + 11);
            if (!uploadedCurves().contains(k))
                continue;
            m_parts.begin(m_curvePart, k);
            m_link.sendFrameAt(proto::kWrite24C512, proto::kCurveSize, proto::kCurveBase + proto::kCurveSize * (k - 1));
            m_link.sendEchoedBlock(curves[k].bytes.data(), proto::kCurveSize);
            m_parts.written(m_curvePart, k);
            m_link.delay(0.5);
            if (cancelled())
                return false;
        }
        return true;
    }

    InstrumentContext &m_ctx;
    SerialLink &m_link;
    const QString &m_title;
    WrittenParts m_parts;
    int m_settingsPart = 0;
    int m_displayPart = 0;
    int m_curvePart = 0;
};

// What the instrument holds after the writes, for the result: the areas sent whose
// every byte the instrument confirmed, as they were sent.
void recordUploaded(OperationRecord &s, const SerialLink &link, const quint8 *settings, const UploadImage &image)
{
    memcpy(s.instrumentImage.system, settings, 256);
    ImageAreas sent = ImageAreas::settingsOnly();
    if (s.transfer.upload[1]) {
        for (int n = 1; n <= 16; ++n)
            memcpy(s.instrumentImage.blocks[n], image.blocks[n], proto::kConfigBlockSize);
        sent.configurations.fill(true);
    }
    if (s.transfer.upload[4]) {
        memcpy(s.instrumentImage.curves, s.calCurve, sizeof s.instrumentImage.curves);
        sent.curves = true;
    }
    s.known = sent.without(link.imageWrites().unconfirmed());
}

// After the writes, still in command mode: the clock when chosen, then the
// read-back when asked for.
std::optional<Verification> setClockAndVerify(InstrumentContext &ctx, const PcClock &pc, const UploadOptions &options,
                                              const quint8 *settings, const UploadImage &image)
{
    OperationRecord &s = ctx.state;
    if (s.transfer.upload[12]) {
        const QTime now = pc.time();
        ctx.link.delay(0.25);
        ctx.link.sendFrame(proto::kSetClock, 0, now.hour(), now.minute());
    }
    if (!options.verify)
        return std::nullopt;
    std::array<quint8, 128> sentCurves[33];
    for (int k : uploadedCurves())
        sentCurves[k] = image.curves[k].bytes;
    return verifyUpload(ctx, settings, image.blocks, sentCurves, s.transfer.upload[1] != 0, s.transfer.upload[4] != 0);
}

} // namespace

Outcome upload(InstrumentContext &ctx, CategoryQuestion &question, const PcClock &pc, const UploadOptions &options)
{
    ctx.link.clearTrouble();
    OperationRecord &s = ctx.state;
    SerialLink &link = ctx.link;
    const QString title = QStringLiteral("Upload");

    if (!confirmUpload(ctx, question, pc))
        return Outcome::Cancelled;

    UploadImage image;
    memcpy(image.system, s.systemBlock, sizeof image.system);
    memcpy(image.blocks, s.configBlock, sizeof image.blocks);
    if (!encodeUploadedCurves(ctx, title, image))
        return Outcome::Refused;

    const std::optional<ConfirmedRead> settings = connectAndReadSettings(ctx);
    if (!settings)
        return Outcome::NotConnected;
    if (!settings->ok()) {
        reportUnreadSettings(ctx, title);
        return Outcome::Failed;
    }
    quint8 buffer[257] = {};
    uploadedSettings(reinterpret_cast<const quint8 *>(settings->bytes.constData()), image.system, s.transfer, s.factory,
                     pc.today(), buffer);
    s.factory.newUnitUploadPending = false;

    if (!UploadWrites(ctx, title).run(buffer, image))
        return Outcome::Cancelled;
    recordUploaded(s, link, buffer, image);
    const std::optional<Verification> verified = setClockAndVerify(ctx, pc, options, buffer, image);
    // Read back the same as sent: bytes whose echo was missed were stored after all.
    if (verified && verified->matches)
        s.known = link.imageWrites().reached();
    link.delay(0.25);
    leaveCommandMode(ctx, proto::kSoftReset);
    ctx.view.hideProgress();
    reportUnacknowledgedBytes(link, ctx.prompts, title);
    if (verified)
        ctx.prompts.message(title, verified->text,
                            verified->matches ? Prompts::Icon::Information : Prompts::Icon::Critical);
    return verified && !verified->matches ? Outcome::Failed : Outcome::Done;
}

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
