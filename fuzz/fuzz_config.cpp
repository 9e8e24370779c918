// Fuzz target: the ".CFG" configuration file reader, and the writer's round trip of what it reads.
#include "FuzzCheck.h"

#include "core/ConfigFile.h"

#include <cmath>
#include <cstring>

namespace
{

const QDateTime kCreated(QDate(2011, 6, 14), QTime(9, 5, 7));
constexpr size_t kCurveBitsInput = 32 * 32 * 2 * sizeof(float); // one float per curve value

// True when `after` is `before` as seven significant digits give it back (NaN and -0 as 0).
bool closeInSevenDigits(float before, float after)
{
    if (std::isnan(before) || before == 0.0f)
        return after == 0.0f && !std::signbit(after);
    if (std::isinf(before))
        return after == before;
    // Half a unit of the seventh digit, plus the float rounding of what is read.
    return std::fabs(double(after) - double(before)) <= 6.5e-7 * std::fabs(double(before)) + 1.5e-45;
}

// Reads text the writer made; it must always read.
ConfigFileImage readBack(const QByteArray &text)
{
    ConfigFileImage image;
    const ConfigReadResult r = parseConfigFile(text, image);
    if (!r.ok)
        std::fprintf(stderr, "line %d: %s\n", r.line, qPrintable(r.problem));
    FUZZ_CHECK(r.ok, "a file the writer made does not read back");
    return image;
}

// Whatever the reader accepts, the writer writes and the reader reads back: bytes bit
// for bit (checksum bytes recomputed, system block byte 6 forced to 1), curve values
// within the file's seven significant digits, and a second save moves nothing more.
void checkRoundTrip(const ConfigFileImage &first)
{
    EditorState state;
    applyConfigFile(state, first);
    const QByteArray text = configFileText(state, kCreated);
    const ConfigFileImage again = readBack(text);

    FUZZ_CHECK(again.comPort == first.comPort, "port number changed");
    for (int i = 1; i <= 255; ++i)
        FUZZ_CHECK(again.system[i] == (i == 6 ? 1 : first.system[i]), "system block byte changed");
    FUZZ_CHECK(again.system[0] == systemBlockChecksum(again.system), "system block checksum not written");
    for (int n = 1; n <= 16; ++n) {
        FUZZ_CHECK(std::memcmp(again.blocks[n] + 1, first.blocks[n] + 1, 127) == 0, "display block byte changed");
        FUZZ_CHECK(again.blocks[n][0] == configBlockChecksum(again.blocks[n]), "display block checksum not written");
    }
    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            for (int f = 1; f <= 2; ++f) {
                if (!closeInSevenDigits(first.curves[k][j][f], again.curves[k][j][f]))
                    std::fprintf(stderr, "curve %d point %d field %d: read %.9g, wrote and read back %.9g\n", k, j, f,
                                 double(first.curves[k][j][f]), double(again.curves[k][j][f]));
                FUZZ_CHECK(closeInSevenDigits(first.curves[k][j][f], again.curves[k][j][f]),
                           "curve value moved by more than the seventh digit");
            }
    EditorState second;
    applyConfigFile(second, again);
    const ConfigFileImage third = readBack(configFileText(second, kCreated));
    FUZZ_CHECK(std::memcmp(third.curves, again.curves, sizeof third.curves) == 0,
               "a curve value moves again at a second save");
}

// The input's bytes taken as curve values: every float the image can hold (NaN,
// infinities, -0, subnormals, values seven digits cannot give back) is written as
// text the reader reads back within seven digits (NaN and -0 as 0), and a second
// save and load gives that value again.
void checkCurveBits(const unsigned char *data, size_t size)
{
    EditorState state;
    float *points[kCurveBitsInput / sizeof(float)];
    int count = 0;
    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            for (int f = 1; f <= 2; ++f)
                points[count++] = &state.calCurve[k][j][f];
    const size_t values = size / sizeof(float);
    for (size_t i = 0; i < values; ++i)
        std::memcpy(points[i], data + i * sizeof(float), sizeof(float));

    const QByteArray text = configFileText(state, kCreated);
    const ConfigFileImage image = readBack(text);
    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            for (int f = 1; f <= 2; ++f) {
                if (!closeInSevenDigits(state.calCurve[k][j][f], image.curves[k][j][f]))
                    std::fprintf(stderr, "curve %d point %d field %d: %.9g written, %.9g read\n", k, j, f,
                                 double(state.calCurve[k][j][f]), double(image.curves[k][j][f]));
                FUZZ_CHECK(closeInSevenDigits(state.calCurve[k][j][f], image.curves[k][j][f]),
                           "a curve value does not survive as text");
            }
    EditorState again;
    applyConfigFile(again, image);
    const ConfigFileImage second = readBack(configFileText(again, kCreated));
    FUZZ_CHECK(std::memcmp(second.curves, image.curves, sizeof second.curves) == 0,
               "a curve value does not settle after one save");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray content = fuzzInput(data, size);
    ConfigFileImage image;
    const ConfigReadResult r = parseConfigFile(content, image);
    if (r.ok) {
        FUZZ_CHECK(r.problem.isEmpty(), "a successful read names a problem");
        senderTypesHavePositions(image.system);
        checkRoundTrip(image);
    } else {
        FUZZ_CHECK(!r.problem.isEmpty(), "a failed read does not say why");
        FUZZ_CHECK(r.line >= 1, "a failed read of text does not name a line");
        describeReadFailure(QStringLiteral("FUZZ.CFG"), r);
        // Most inputs are not configuration files: the bytes of short ones test the
        // writer instead (mutated files are long and would only slow the run down).
        if (size <= kCurveBitsInput)
            checkCurveBits(data, size);
    }
    return 0;
}
