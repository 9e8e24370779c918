#include "link/InstrumentImage.h"

#include "core/ImageLayout.h"
#include "core/Protocol.h"
#include "core/TransferRules.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/SerialLink.h"

#include <cstring>

namespace transfer
{

namespace
{
constexpr double kSystemBlockWait = 1.0;
constexpr double kSectorWait = 0.1;

bool checksumMatches(const QByteArray &block)
{
    return systemBlockChecksum(reinterpret_cast<const quint8 *>(block.constData())) ==
           quint8(block[layout::kSystemChecksum]);
}
} // namespace

std::optional<ConfirmedRead> connectAndReadSettings(InstrumentContext &ctx)
{
    if (!ctx.ensureConnected())
        return std::nullopt;
    ctx.link.delay(0.2);
    ctx.view.setProgress(0);
    ctx.view.showProgress();
    return readSystemBlock(ctx);
}

void leaveCommandMode(InstrumentContext &ctx, int code, const char *label)
{
    ctx.link.sendFrame(code, 0, 0, 0);
    ctx.state.link.connected = false;
    ctx.view.setConnectedLabel(QString::fromLatin1(label));
}

ConfirmedRead readSettingsBlock(SerialLink &link)
{
    return readConfirmed(link, proto::kReadInternalNvm, 0, 0, kSystemBlockWait, checksumMatches);
}

ConfirmedRead readSystemBlock(InstrumentContext &ctx)
{
    const ConfirmedRead read = readSettingsBlock(ctx.link);
    if (read.ok())
        storeNewConfigCounter(ctx.state, ctx.view, quint8(read.bytes[proto::kUploadCounterByte]),
                              quint8(read.bytes[proto::kUploadCounterByte + 1]));
    return read;
}

bool readSector(SerialLink &link, int address, quint8 *sector)
{
    const ConfirmedRead read = readConfirmed(link, proto::kRead24C512, proto::kSectorSize, address, kSectorWait);
    if (read.ok())
        memcpy(sector, read.bytes.constData(), proto::kSectorSize);
    return read.ok();
}

bool readBlock(SerialLink &link, int address, quint8 *block)
{
    return readSector(link, address, block) &&
           readSector(link, address + proto::kSectorSize, block + proto::kSectorSize);
}

InstrumentImage readInstrumentImage(InstrumentContext &ctx, const ConfirmedRead &settings, const ConfigImage &editor,
                                    int progressFrom, int progressTo)
{
    SerialLink &link = ctx.link;
    InstrumentImage out;
    out.image = editor;
    const int steps = 16 + int(uploadedCurves().size());
    int step = 0;
    const auto advance = [&] {
        ++step;
        ctx.view.setProgress(progressFrom + (progressTo - progressFrom) * step / steps);
    };

    if (!settings.ok()) {
        out.problem = QStringLiteral("the settings");
        return out;
    }
    memcpy(out.image.system, settings.bytes.constData(), 256);

    for (int n = 1; n <= 16; ++n) {
        if (!readBlock(link, proto::kConfigBlockBase + proto::kConfigBlockSize * (n - 1), out.image.blocks[n])) {
            out.problem = QStringLiteral("display configuration %1").arg(n);
            return out;
        }
        advance();
    }

    EditorState own;
    editor.applyTo(own);
    for (int k : uploadedCurves()) {
        std::array<quint8, 128> stored{};
        if (!readBlock(link, proto::kCurveBase + proto::kCurveSize * (k - 1), stored.data())) {
            out.problem = QStringLiteral("sender curve %1").arg(k);
            return out;
        }
        const EncodedCurve mine = encodeCurve(own, k);
        if (!mine.ok || mine.bytes != stored)
            decodeCurve(stored, out.image.curves[k]);
        advance();
    }
    out.ok = true;
    return out;
}

} // namespace transfer
