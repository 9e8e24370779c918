#include "link/TransferReports.h"
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

#include <algorithm>
#include <cstring>
#include <optional>

namespace transfer
{
namespace
{

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
    // Read back otherwise: the instrument does not hold what was sent.
    if (verified)
        s.known = verified->matches ? link.imageWrites().reached() : ImageAreas();
    link.delay(0.25);
    leaveCommandMode(ctx, proto::kSoftReset);
    ctx.view.hideProgress();
    reportUnacknowledgedBytes(link, ctx.prompts, title);
    if (verified)
        ctx.prompts.message(title, verified->text,
                            verified->matches ? Prompts::Icon::Information : Prompts::Icon::Critical);
    return verified && !verified->matches ? Outcome::Failed : Outcome::Done;
}

} // namespace transfer
