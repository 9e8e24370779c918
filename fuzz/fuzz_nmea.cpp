// Fuzz target: the "NVMNMEAG.DAT" NMEA identifier table reader.
#include "FuzzCheck.h"

#include "core/factory/NmeaTableFile.h"

using namespace factory;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const auto result = parseNmeaTables(fuzzInput(data, size), QStringLiteral("NVMNMEAG.DAT"));
    if (!result.ok()) {
        FUZZ_CHECK(result.error.startsWith(QStringLiteral("NVMNMEAG.DAT")), "a refusal does not name the file");
        return 0;
    }
    const NmeaTables &t = result.value;
    FUZZ_CHECK(t.talkers.size() == 2 * kNmeaTalkerEntries, "talker table size");
    FUZZ_CHECK(t.sentences.size() == 4 * kNmeaSentenceEntries, "sentence table size");
    for (qsizetype i = 0; i < t.talkers.size(); ++i)
        FUZZ_CHECK(t.talkers.at(i) >= 32 && t.talkers.at(i) <= 126, "a talker character that is not printable");
    for (qsizetype i = 0; i < t.sentences.size(); ++i) {
        const char c = t.sentences.at(i);
        FUZZ_CHECK(i % 4 == 3 ? c == 0 : (c >= 32 && c <= 126), "a sentence entry that is not three printables and 0");
    }
    const QVector<EepromBlock> blocks = nmeaUploadBlocks(t);
    FUZZ_CHECK(blocks.size() == 6, "six upload blocks");
    for (const EepromBlock &b : blocks)
        FUZZ_CHECK(b.bytes.size() == 128, "an upload block that is not 128 bytes");
    return 0;
}
