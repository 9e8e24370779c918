// Data-source codes of the five displays: the list entries, the alarm bytes of each
// code and the decimal places its values are shown with.
#pragma once

#include <QString>
#include <QStringList>

namespace datasources
{

// The entries of the five data-source lists: "None - Blank", then the eight NMEA
// inputs "NMEA 0183 input #1A" .. "#4B" (codes 23..30).
const QStringList &listEntries();

// What a display with this code shows in its list: the entry for 0 and 23..30,
// "Other source (code N)" for a code the lists do not offer.
QString sourceText(int code);

// The alarm limits of a code: first of its four system block bytes (low limit,
// high limit; 0 when the code has none) and the decimal places they are shown with.
struct AlarmSlot {
    int first;
    int decimals;
};
AlarmSlot alarmSlot(int code);

// Decimal places of a bar graph's limits for the bar's code (as the alarm limits,
// except code 34, whose bar limits have one).
int barDecimals(int code);

// A stored 16-bit value as shown with 0, 1 or 2 decimal places ("####0", "###0.0", "##0.00").
QString formatStored(int value, int decimals);

} // namespace datasources
