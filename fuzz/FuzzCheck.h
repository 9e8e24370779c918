// What every fuzz target shares: turning a broken promise of a reader into a crash libFuzzer records.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A failed check aborts, so libFuzzer saves the input that broke it as a crash.
#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "FUZZ CHECK FAILED at %s:%d: %s\n  (%s)\n", __FILE__, __LINE__, what, #condition);    \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

inline QByteArray fuzzInput(const unsigned char *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
