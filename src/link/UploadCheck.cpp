#include "link/UploadCheck.h"

#include "core/ConfigImage.h"
#include "core/FieldTable.h"
#include "core/ImageLayout.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "core/TransferRules.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentImage.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

#include <cstring>

namespace transfer
{

namespace
{
// Differences named in the verify message at most.
constexpr int kNamedDifferences = 5;

int sameBytes(const quint8 *a, const quint8 *b, int count)
{
    int same = 0;
    for (int i = 0; i < count; ++i)
        same += a[i] == b[i] ? 1 : 0;
    return same;
}

// A display configuration's fields carry its number; the settings' fields are named
// with their group ("Units and settings · Race timers").
QString fieldWithGroup(const fields::Line &line)
{
    if (line.group >= fields::kConfiguration1 && line.group < fields::kConfiguration1 + 16)
        return line.field;
    return fields::groupName(line.group) + QStringLiteral(" · ") + line.field;
}

QString unreadText(const QString &what)
{
    return QStringLiteral("Verify: %1 could not be read back, so the upload could not be checked.\r\n"
                          "Check the cable and the power, then upload again.")
        .arg(what);
}
} // namespace

Verification verifyUpload(InstrumentContext &ctx, const quint8 *settings, const quint8 (*blocks)[129],
                          const std::array<quint8, 128> *curves, bool displaysSent, bool curvesSent)
{
    SerialLink &link = ctx.link;
    Verification out;
    ConfigImage sent = ConfigImage::of(ctx.state);
    memcpy(sent.system, settings, 256);
    ConfigImage held = sent;
    int compared = 256;
    int same = 0;

    // Two readings the same whose checksum is wrong are what the instrument stored:
    // compared like any other, they name the byte it keeps wrong.
    const ConfirmedRead read = readSystemBlock(ctx);
    if (!read.agreed()) {
        out.text = unreadText(QStringLiteral("the settings"));
        return out;
    }
    memcpy(held.system, read.bytes.constData(), 256);
    same += sameBytes(sent.system, held.system, 256);

    if (displaysSent) {
        for (int n = 1; n <= 16; ++n) {
            memcpy(sent.blocks[n], blocks[n], proto::kConfigBlockSize);
            if (!readBlock(link, proto::kConfigBlockBase + proto::kConfigBlockSize * (n - 1), held.blocks[n])) {
                out.text = unreadText(QStringLiteral("display configuration %1").arg(n));
                return out;
            }
            compared += proto::kConfigBlockSize;
            same += sameBytes(sent.blocks[n], held.blocks[n], proto::kConfigBlockSize);
        }
    }
    if (curvesSent) {
        for (int k : uploadedCurves()) {
            std::array<quint8, 128> stored{};
            if (!readBlock(link, proto::kCurveBase + proto::kCurveSize * (k - 1), stored.data())) {
                out.text = unreadText(QStringLiteral("sender curve %1").arg(k));
                return out;
            }
            compared += proto::kCurveSize;
            same += sameBytes(curves[k].data(), stored.data(), proto::kCurveSize);
            // Both as the instrument's words read back into the editor's terms.
            decodeCurve(curves[k], sent.curves[k]);
            decodeCurve(stored, held.curves[k]);
        }
    }

    out.matches = same == compared;
    if (out.matches) {
        out.text = QStringLiteral("Verified: %1 bytes match.").arg(compared);
        return out;
    }
    QStringList named;
    for (const fields::Line &line : fields::differences(sent, held)) {
        if (named.size() == kNamedDifferences)
            break;
        named << QStringLiteral("%1: sent %2, the instrument holds %3")
                     .arg(fieldWithGroup(line), line.oldText, line.newText);
    }
    // A difference only in a checksum byte has no field of its own.
    if (named.isEmpty())
        named << QStringLiteral("a checksum byte");
    out.text = QStringLiteral("Verify found differences: %1 of %2 bytes read back are not what was sent.\r\n%3\r\n"
                              "Upload again, or check the cable and the power.")
                   .arg(compared - same)
                   .arg(compared)
                   .arg(named.join(QStringLiteral("\r\n")));
    return out;
}

namespace
{
// Connects, reads what the instrument holds into `instrument` and leaves command mode;
// a part that did not arrive intact is reported under `title`.
Outcome readAndRelease(InstrumentContext &ctx, const QString &title, ConfigImage &instrument)
{
    const ConfigImage editor = ConfigImage::of(ctx.state);
    const std::optional<ConfirmedRead> settings = connectAndReadSettings(ctx);
    if (!settings)
        return Outcome::NotConnected;
    const InstrumentImage read = readInstrumentImage(ctx, *settings, editor, 1, 17);
    ctx.link.delay(0.25);
    leaveCommandMode(ctx, proto::kSoftReset);
    ctx.view.hideProgress();
    if (!read.ok) {
        ctx.prompts.message(
            title, QStringLiteral("The instrument did not send %1 intact: nothing was compared.").arg(read.problem),
            Prompts::Icon::Critical);
        return Outcome::Failed;
    }
    instrument = read.image;
    return Outcome::Done;
}
} // namespace

void compareBeforeUpload(InstrumentContext &ctx, CategoryQuestion &question, const PcClock &pc)
{
    question.dismiss();
    const ConfigImage editor = ConfigImage::of(ctx.state);
    ConfigImage instrument;
    if (readAndRelease(ctx, QStringLiteral("Compare first"), instrument) != Outcome::Done)
        return;
    ctx.state.comparedFirst.append({QDateTime::currentDateTimeUtc(), instrument});
    // What the upload with the categories chosen now would leave in the instrument.
    ConfigImage after = instrument;
    const OperationRecord &s = ctx.state;
    uploadedSettings(instrument.system, editor.system, s.transfer, s.factory, pc.today(), after.system);
    if (s.transfer.upload[1]) {
        for (int n = 1; n <= 16; ++n) {
            memcpy(after.blocks[n], editor.blocks[n], proto::kConfigBlockSize);
            after.blocks[n][layout::kBlockChecksum] = configBlockChecksum(after.blocks[n]);
        }
    }
    if (s.transfer.upload[4]) {
        for (int k : uploadedCurves())
            memcpy(after.curves[k], editor.curves[k], sizeof after.curves[k]);
    }
    question.showComparison(instrument, after);
}

Outcome readForCompare(InstrumentContext &ctx, ConfigImage &instrument)
{
    ctx.link.clearTrouble();
    const Outcome outcome = readAndRelease(ctx, QStringLiteral("Compare with Instrument"), instrument);
    if (outcome == Outcome::Done) {
        ctx.state.known = ImageAreas::all();
        ctx.state.instrumentImage = instrument;
    }
    return outcome;
}

} // namespace transfer
