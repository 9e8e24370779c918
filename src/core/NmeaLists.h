// The NMEA talker and sentence identifier lists; a code stored in the system block is a position in them + 1.
#pragma once

#include <QStringList>

namespace nmea
{
// 49 talker identifiers in the instrument's order (CV stands before CT).
const QStringList &talkers();
// 120 sentence identifiers in the instrument's order (ROO stands before RMA).
const QStringList &sentences();
// Number of comma entries ("1" .. "25").
constexpr int kCommaEntries = 25;
} // namespace nmea
