#include "core/DataSources.h"

#include "core/DisplayTable.h"
#include "core/ImageLayout.h"
#include "core/NumberText.h"

namespace datasources
{

const QStringList &listEntries()
{
    static const QStringList entries = {
        QStringLiteral("None - Blank"),        QStringLiteral("NMEA 0183 input #1A"),
        QStringLiteral("NMEA 0183 input #1B"), QStringLiteral("NMEA 0183 input #2A"),
        QStringLiteral("NMEA 0183 input #2B"), QStringLiteral("NMEA 0183 input #3A"),
        QStringLiteral("NMEA 0183 input #3B"), QStringLiteral("NMEA 0183 input #4A"),
        QStringLiteral("NMEA 0183 input #4B"),
    };
    return entries;
}

QString sourceText(int code)
{
    if (code == 0)
        return listEntries().at(0);
    if (code >= 23 && code <= 30)
        return listEntries().at(code - displays::kNmeaCodeOffset);
    return QStringLiteral("Other source (code %1)").arg(code);
}

AlarmSlot alarmSlot(int code)
{
    switch (code) {
    case 1:
        return {128, 0};
    case 2:
        return {132, 0};
    case 3:
        return {136, 1};
    case 4:
    case 5:
        return {0, 1};
    case 6:
        return {148, 1};
    case 7:
    case 8:
        return {0, 1};
    case 9:
        return {152, 2};
    case 10:
        return {156, 1};
    case 11:
    case 12:
        return {0, 1};
    case 18:
        return {160, 2};
    case 19:
        return {164, 2};
    case 20:
        return {168, 2};
    case 21:
        return {172, 0};
    case 22:
        return {176, 1};
    case 31:
        return {212, 1};
    case 32:
        return {216, 1};
    case 33:
        return {224, 1};
    case 34:
        return {220, 0};
    default:
        break;
    }
    if (code >= 23 && code <= 30)
        return {layout::kNmeaAlarmLimits + 4 * (code - 23), 0};
    return {0, 0};
}

int barDecimals(int code)
{
    if (code == 1 || code == 2 || code == 21 || (code >= 23 && code <= 30))
        return 0;
    if ((code >= 3 && code <= 8) || (code >= 10 && code <= 12) || code == 22 || (code >= 31 && code <= 34))
        return 1;
    if (code == 9 || (code >= 18 && code <= 20))
        return 2;
    return 0;
}

QString formatStored(int value, int decimals)
{
    switch (decimals) {
    case 1:
        return numtext::formatDecimals(value / 10.0, 1);
    case 2:
        return numtext::formatDecimals(value / 100.0, 2);
    default:
        return numtext::formatDecimals(value, 0);
    }
}

} // namespace datasources
