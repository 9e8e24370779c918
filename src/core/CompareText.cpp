#include "core/CompareText.h"

namespace fields
{

QString comparisonTitle(const QString &beforeTitle, const QString &afterTitle)
{
    return QStringLiteral("Compare %1 with %2").arg(beforeTitle, afterTitle);
}

QString comparisonSummary(int differences, const QString &beforeTitle, const QString &afterTitle)
{
    if (differences == 0)
        return QStringLiteral("%1 and %2 hold the same configuration.").arg(beforeTitle, afterTitle);
    return QStringLiteral("%1 difference(s): values in %2 → values in %3.")
        .arg(differences)
        .arg(beforeTitle, afterTitle);
}

QString groupHeading(int group, int differences)
{
    return QStringLiteral("%1 (%2 %3)")
        .arg(groupName(group))
        .arg(differences)
        .arg(differences == 1 ? QStringLiteral("difference") : QStringLiteral("differences"));
}

QString changeText(const Line &line)
{
    return line.differs ? line.oldText + QStringLiteral(" → ") + line.newText : line.oldText;
}

QString comparisonText(const std::vector<Line> &shown, const std::vector<Line> &differences, const QString &beforeTitle,
                       const QString &afterTitle)
{
    QString out = comparisonTitle(beforeTitle, afterTitle) + QLatin1Char('\n') +
                  comparisonSummary(int(differences.size()), beforeTitle, afterTitle) + QLatin1Char('\n');
    int counts[kGroupCount] = {};
    for (const Line &line : differences)
        ++counts[line.group];
    int group = -1;
    for (const Line &line : shown) {
        if (line.group != group) {
            group = line.group;
            out += QLatin1Char('\n') + groupHeading(group, counts[group]) + QLatin1Char('\n');
        }
        out += QStringLiteral("  ") + line.field + QStringLiteral(": ") + changeText(line) + QLatin1Char('\n');
    }
    return out;
}

} // namespace fields
