#include "core/FieldNames.h"

#include "core/DampingTable.h"
#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/FieldTable.h"
#include "core/IconTable.h"

namespace fields
{

namespace
{
const QString kSep = QStringLiteral(" · ");
}

QString configurationFieldName(int configuration, const QString &part)
{
    return QStringLiteral("Configuration %1").arg(configuration) + kSep + part;
}

QString sourceFieldName(int configuration, int display)
{
    return configurationFieldName(configuration, QLatin1String(displays::kDisplays[display].frameTitle) + kSep +
                                                     QStringLiteral("Display Data from"));
}

QString barLimitFieldName(int configuration, int display, bool upper)
{
    return configurationFieldName(configuration,
                                  QLatin1String(displays::kDisplays[display].frameTitle) + kSep +
                                      (upper ? QStringLiteral("Upper Bar Limit") : QStringLiteral("Lower Bar Limit")));
}

QString iconFieldName(int configuration, int icon)
{
    return configurationFieldName(configuration,
                                  QStringLiteral("Icons") + kSep + QLatin1String(icons::kIcons[icon].accessible));
}

QString alarmLimitFieldName(int code, bool high)
{
    if (!datasources::alarmSlot(code).first)
        return QString();
    const QString source =
        (code >= 23 && code <= 30) ? datasources::sourceText(code) : QStringLiteral("Data source code %1").arg(code);
    return source + kSep + (high ? QStringLiteral("High Alarm Limit") : QStringLiteral("Low Alarm Limit"));
}

QString dampingFieldName(int function)
{
    return QStringLiteral("Damping ") + QLatin1String(damping::kTable[function].name);
}

QString todAlarmFieldName(int alarm, bool minutes)
{
    return QStringLiteral("Time-Of-Day Alarm #%1 %2")
        .arg(alarm)
        .arg(minutes ? QStringLiteral("minutes") : QStringLiteral("hours"));
}

QString nmeaFieldName(int source, layout::NmeaPart part)
{
    const char *labels[3] = {"Talker ID", "Sentence", "Commas"};
    return datasources::listEntries().at(source) + kSep + QLatin1String(labels[int(part)]);
}

QString senderTypeFieldName(senderlists::SenderList list)
{
    using senderlists::SenderList;
    switch (list) {
    case SenderList::EngineTemp:
        return QStringLiteral("Engine Temperature sender");
    case SenderList::Fuel:
        return QStringLiteral("Fuel Tank sender");
    case SenderList::OilPressure:
        return QStringLiteral("Oil Pressure sender");
    case SenderList::Trim:
        return QStringLiteral("Optional Trim Angle sender");
    case SenderList::SecondTank:
        break;
    }
    return QStringLiteral("Optional 2'nd Tank Level sender");
}

QString curvePointFieldName(int curve, int point)
{
    QString name;
    switch (curve) {
    case 6:
        name = QStringLiteral("Engine Temp.");
        break;
    case 9:
        name = QStringLiteral("Fuel Tank");
        break;
    case 16:
        name = QStringLiteral("Oil Pressure");
        break;
    case 19:
        name = QStringLiteral("Trim Angle");
        break;
    case 25:
        name = QStringLiteral("2'nd Tank Level");
        break;
    default:
        name = QString::number(curve);
    }
    return QStringLiteral("Sender curve %1 point %2").arg(name).arg(point);
}

QStringList groupFieldNames(int group)
{
    QStringList names;
    for (const Field &f : table())
        if (f.group == group && !f.derived)
            names << f.name;
    return names;
}

} // namespace fields
