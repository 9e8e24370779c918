// Fuzz target: the "CALCURVS.DAT" calibration curve reader.
#include "FuzzCheck.h"

#include "core/Protocol.h"
#include "core/factory/CalibrationFile.h"

#include <QSet>

using namespace factory;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const auto result = parseCalibrationFile(fuzzInput(data, size), QStringLiteral("CALCURVS.DAT"));
    if (!result.ok()) {
        FUZZ_CHECK(result.error.startsWith(QStringLiteral("CALCURVS.DAT")), "a refusal does not name the file");
        return 0;
    }
    const QVector<EepromBlock> &blocks = result.value;
    FUZZ_CHECK(!blocks.isEmpty() && blocks.size() <= 32, "curve count out of range");
    QSet<int> taken;
    for (const EepromBlock &b : blocks) {
        FUZZ_CHECK(b.bytes.size() == proto::kCurveSize, "a curve that is not 128 bytes");
        FUZZ_CHECK(b.address >= proto::kCurveBase && b.address <= proto::kCurveBase + 31 * proto::kCurveSize &&
                       (b.address - proto::kCurveBase) % proto::kCurveSize == 0,
                   "a curve outside the curve table");
        FUZZ_CHECK(!taken.contains(b.address), "two curves in one slot");
        taken.insert(b.address);
    }
    return 0;
}
