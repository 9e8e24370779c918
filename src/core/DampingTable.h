// The damping functions in list order and the system block byte of each; the
// instrument keeps them at 105, 102, 109, 110, not in a row.
#pragma once

namespace damping
{

struct Function {
    const char *name;
    int byte;
};

constexpr int kFunctions = 4;
constexpr Function kTable[kFunctions] = {
    {"NMEA Channel 2A", 105},
    {"NMEA Channel 2B", 102},
    {"NMEA Channel 3A", 109},
    {"NMEA Channel 3B", 110},
};

} // namespace damping
