// Fuzz target: the Intel HEX reader, and the .COD file of the code image it makes.
#include "FuzzCheck.h"

#include "core/factory/CodeImageFile.h"
#include "core/factory/HexFile.h"

using namespace factory;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const auto result = hexToCodeImage(fuzzInput(data, size), QStringLiteral("FUZZ.HEX"));
    if (!result.ok()) {
        FUZZ_CHECK(result.error.startsWith(QStringLiteral("FUZZ.HEX")), "a refusal does not name the file");
        return 0;
    }
    const CodeImage &image = result.value;
    FUZZ_CHECK(!image.bytes.isEmpty(), "an image without bytes");
    FUZZ_CHECK(image.bytes.size() % proto::kSectorSize == 0, "an image of part of a sector");
    FUZZ_CHECK(image.sectorCount() >= 1 && image.sectorCount() <= kMaxCodeSectors, "more sectors than the window");
    FUZZ_CHECK(image.firstAddress == proto::kFlashCodeAddress, "an image that does not start the window");

    // "Read code from HEX file and create .COD file": the file must read back as the image.
    const auto cod = CodeImageFile::parse(CodeImageFile::format(image), QStringLiteral("FUZZ.COD"));
    FUZZ_CHECK(cod.ok(), "the .COD file of a HEX image does not read back");
    FUZZ_CHECK(cod.value.bytes == image.bytes, "the .COD file of a HEX image reads back other bytes");
    FUZZ_CHECK(cod.value.origin == CodeImageOrigin::HexFile, "the .COD file of a HEX image forgot where it came from");
    return 0;
}
