// The damping functions in list order and the system block byte of each; the
// instrument keeps them at 105, 102, 109, 110, not in a row.
#pragma once

#include "core/ImageLayout.h"

namespace damping
{

struct Function {
    const char *name;
    int byte;
};

constexpr int kFunctions = 4;
constexpr Function kTable[kFunctions] = {
    {"NMEA Channel 2A", layout::kDamping2A},
    {"NMEA Channel 2B", layout::kDamping2B},
    {"NMEA Channel 3A", layout::kDamping3A},
    {"NMEA Channel 3B", layout::kDamping3B},
};

} // namespace damping
