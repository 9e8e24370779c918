// Fuzz target: the ".CFG" configuration file reader alone, for speed (no round trip).
#include "FuzzCheck.h"

#include "core/ConfigFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray content = fuzzInput(data, size);
    ConfigFileImage image;
    const ConfigReadResult r = parseConfigFile(content, image);
    if (!r.ok) {
        FUZZ_CHECK(!r.problem.isEmpty(), "a failed read does not say why");
        FUZZ_CHECK(r.line >= 1, "a failed read of text does not name a line");
        // At most the line after the last one ("the file ends too early").
        FUZZ_CHECK(r.line <= content.count('\n') + 2, "a failed read names a line beyond the file");
        return 0;
    }
    FUZZ_CHECK(r.problem.isEmpty(), "a successful read names a problem");
    // No curve value read is NaN or -0 (the writer writes 0 for both).
    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            for (int f = 1; f <= 2; ++f) {
                const float v = image.curves[k][j][f];
                FUZZ_CHECK(!std::isnan(v), "a curve value read is NaN");
                FUZZ_CHECK(v != 0.0f || !std::signbit(v), "a curve value read is -0");
            }
    senderTypesHavePositions(image.system);
    return 0;
}
