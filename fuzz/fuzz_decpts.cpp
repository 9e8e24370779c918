// Fuzz target: the "DECPTSA.DAT" decimal-point reader.
#include "FuzzCheck.h"

#include "core/factory/DecimalPointFile.h"

using namespace factory;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const auto result = parseDecimalPoints(fuzzInput(data, size), QStringLiteral("DECPTSA.DAT"));
    if (!result.ok()) {
        FUZZ_CHECK(result.error.startsWith(QStringLiteral("DECPTSA.DAT")), "a refusal does not name the file");
        return 0;
    }
    FUZZ_CHECK(result.value.size() == kDecimalPointEntries, "not 64 decimal-point bytes");
    FUZZ_CHECK(decimalPointBlock(result.value).bytes == result.value, "the upload block differs from the file");
    return 0;
}
