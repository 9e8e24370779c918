// Fuzz target: the ".COD" code image reader, and the writer's round trip of what it reads.
#include "FuzzCheck.h"

#include "core/factory/CodeImageFile.h"

using namespace factory;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const auto first = CodeImageFile::parse(fuzzInput(data, size), QStringLiteral("FUZZ.COD"));
    if (!first.ok()) {
        FUZZ_CHECK(first.error.startsWith(QStringLiteral("FUZZ.COD")), "a refusal does not name the file");
        return 0;
    }
    const CodeImage &image = first.value;
    FUZZ_CHECK(image.sectorCount() >= 1 && image.sectorCount() <= kMaxCodeSectors, "sector count out of range");
    FUZZ_CHECK(image.bytes.size() == image.sectorCount() * proto::kSectorSize, "an image of part of a sector");

    const QByteArray text = CodeImageFile::format(image);
    const auto again = CodeImageFile::parse(text, QStringLiteral("FUZZ.COD"));
    if (!again.ok())
        std::fprintf(stderr, "%s\n", qPrintable(again.error));
    FUZZ_CHECK(again.ok(), "a file the writer made does not read back");
    FUZZ_CHECK(again.value.bytes == image.bytes, "the bytes changed");
    FUZZ_CHECK(again.value.firstAddress == image.firstAddress, "the first address changed");
    FUZZ_CHECK(again.value.origin == image.origin, "the origin changed");
    FUZZ_CHECK(CodeImageFile::format(again.value) == text, "a second write differs");
    return 0;
}
