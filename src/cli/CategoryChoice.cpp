#include "cli/CategoryChoice.h"

#include "cli/Console.h"
#include "cli/TerminalPrompts.h"
#include "core/TransferRules.h"

#include <QStringList>

namespace cli
{

namespace
{
// clang-format off
const char *const kNames[transfer::kCategories + 1] = {
    "",
    "displays", "maintenance-alarm", "units", "sender-curves", "pulley-ratio", "fuel-tank", "second-tank",
    "damping", "tacho-sensitivity", "alarm-values", "tod-alarms", "clock", "fine-calibrations", "race-timers",
};
// clang-format on

// The category a word names: its number or its name; 0 when none.
int categoryOf(const QString &word)
{
    bool isNumber = false;
    const int n = word.toInt(&isNumber);
    if (isNumber)
        return (n >= 1 && n <= transfer::kCategories) ? n : 0;
    for (int i = 1; i <= transfer::kCategories; ++i)
        if (word.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

QString numbersOf(const transfer::Categories &set)
{
    QStringList numbers;
    for (int i = 1; i <= transfer::kCategories; ++i)
        if (set[i])
            numbers << QString::number(i);
    return numbers.join(QStringLiteral(", "));
}

QString captionsOf(const transfer::Categories &set)
{
    QStringList captions;
    for (int i = 1; i <= transfer::kCategories; ++i)
        if (set[i])
            captions << QStringLiteral("%1 %2").arg(i).arg(transfer::categoryCaption(i));
    return captions.isEmpty() ? QStringLiteral("  (none)")
                              : QStringLiteral("  ") + captions.join(QStringLiteral("\n  "));
}
} // namespace

QString categoryName(int category)
{
    return (category >= 1 && category <= transfer::kCategories) ? QString::fromLatin1(kNames[category]) : QString();
}

CategoryParse parseCategories(const QString &text, const transfer::Categories &allowed)
{
    CategoryParse result;
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        result.chosen = allowed;
        return result;
    }
    if (trimmed.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return result;
    const QStringList words = trimmed.split(QLatin1Char(','));
    for (const QString &raw : words) {
        const QString word = raw.trimmed();
        const int c = categoryOf(word);
        if (c == 0) {
            result.error = QStringLiteral("--categories: \"%1\" is not a category. Give numbers 1 to 14 or names "
                                          "(see --help), separated by commas, or \"all\" or \"none\".")
                               .arg(word);
            return result;
        }
        if (!allowed[c]) {
            result.error = QStringLiteral("--categories: %1 (%2) cannot be chosen here; this command takes %3.")
                               .arg(c)
                               .arg(transfer::categoryCaption(c), numbersOf(allowed));
            return result;
        }
        result.chosen[c] = true;
    }
    return result;
}

ConfigurationParse parseConfigurations(const QString &text)
{
    ConfigurationParse result;
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        result.chosen.fill(true);
        result.chosen[0] = false;
        return result;
    }
    for (const QString &raw : trimmed.split(QLatin1Char(','))) {
        const QString word = raw.trimmed();
        const QStringList ends = word.split(QLatin1Char('-'));
        bool firstOk = false, lastOk = false;
        const int first = ends.value(0).trimmed().toInt(&firstOk);
        const int last = ends.size() == 2 ? ends.value(1).trimmed().toInt(&lastOk) : first;
        if (!firstOk || (ends.size() == 2 && !lastOk) || ends.size() > 2 || first < 1 || last > 16 || first > last) {
            result.error = QStringLiteral("--configurations: \"%1\" is not a display configuration. Give numbers 1 to "
                                          "16 or ranges such as 3-5, separated by commas, or \"all\".")
                               .arg(word);
            return result;
        }
        for (int n = first; n <= last; ++n)
            result.chosen[size_t(n)] = true;
    }
    return result;
}

QString categoryTable(const transfer::Categories &allowed, const transfer::Categories &checked)
{
    QStringList lines;
    for (int i = 1; i <= transfer::kCategories; ++i) {
        if (!allowed[i])
            continue;
        lines << QStringLiteral("  %1  %2 %3%4")
                     .arg(i, 2)
                     .arg(QString::fromLatin1(kNames[i]), -18)
                     .arg(transfer::categoryCaption(i), checked[i] ? QStringLiteral(" (default)") : QString());
    }
    return lines.join(QLatin1Char('\n'));
}

transfer::CategoryAnswer ChosenCategories::ask(const QString &title, const transfer::Categories &enabled,
                                               const transfer::Categories &)
{
    transfer::CategoryAnswer answer;
    transfer::Categories offered{};
    for (int i = 1; i <= transfer::kCategories; ++i) {
        answer.chosen[i] = enabled[i] && m_chosen[i];
        offered[i] = enabled[i];
    }
    transfer::Categories left = offered;
    for (int i = 1; i <= transfer::kCategories; ++i)
        left[i] = offered[i] && !answer.chosen[i];
    const QString text = QStringLiteral("To be overwritten:\n") + captionsOf(answer.chosen) +
                         QStringLiteral("\nLeft as they are:\n") + captionsOf(left);
    answer.proceed = m_prompts.confirm(title, text);
    return answer;
}

} // namespace cli
