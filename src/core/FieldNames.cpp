#include "core/FieldNames.h"

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

QStringList groupFieldNames(int group)
{
    QStringList names;
    for (const Field &f : table())
        if (f.group == group && !f.derived)
            names << f.name;
    return names;
}

} // namespace fields
