#include "link/WrittenParts.h"

#include <QStringList>

namespace
{

// "1 to 5", "6", "6 and 9", "1 to 3, 6 and 9".
QString rangesText(const QList<int> &numbers)
{
    QStringList runs;
    for (int i = 0; i < numbers.size();) {
        int j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        if (j == i)
            runs << QString::number(numbers[i]);
        else if (j == i + 1)
            runs << QString::number(numbers[i]) << QString::number(numbers[j]);
        else
            runs << QStringLiteral("%1 to %2").arg(numbers[i]).arg(numbers[j]);
        i = j + 1;
    }
    if (runs.size() < 2)
        return runs.join(QString());
    const QString last = runs.takeLast();
    return runs.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

struct Items {
    QStringList texts;
    bool plural = false;
    void add(const QString &text, bool many)
    {
        plural = many || !texts.isEmpty();
        texts << text;
    }
    bool isEmpty() const { return texts.isEmpty(); }
};

QString joinedWithAnd(QStringList items)
{
    if (items.size() < 2)
        return items.join(QString());
    const QString last = items.takeLast();
    return items.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

int WrittenParts::add(const QString &name, bool plural)
{
    m_parts.append(Part{name, name, {}, {}, -1, plural, false});
    return int(m_parts.size()) - 1;
}

int WrittenParts::add(const QString &singular, const QString &plural, const QList<int> &numbers)
{
    m_parts.append(Part{singular, plural, numbers, {}, -1, true, true});
    return int(m_parts.size()) - 1;
}

void WrittenParts::begin(int part, int number)
{
    m_parts[part].begun = number;
}

void WrittenParts::written(int part, int number)
{
    Part &p = m_parts[part];
    if (!p.done.contains(number))
        p.done.append(number);
    p.begun = -1;
}

QString WrittenParts::describe() const
{
    Items written, interrupted, notWritten;
    for (const Part &p : m_parts) {
        if (!p.numbered) {
            Items &items = !p.done.isEmpty() ? written : p.begun >= 0 ? interrupted : notWritten;
            items.add(p.singular, p.many);
            continue;
        }
        if (p.numbers.isEmpty())
            continue;
        QList<int> rest;
        for (int n : p.numbers)
            if (!p.done.contains(n) && n != p.begun)
                rest << n;
        if (!p.done.isEmpty())
            written.add((p.done.size() == 1 ? p.singular : p.plural) + QLatin1Char(' ') + rangesText(p.done),
                        p.done.size() > 1);
        if (p.begun >= 0)
            interrupted.add(p.singular + QLatin1Char(' ') + QString::number(p.begun), false);
        if (rest.size() == p.numbers.size())
            notWritten.add(QStringLiteral("the ") + p.plural, true);
        else if (!rest.isEmpty())
            notWritten.add(
                (p.done.isEmpty() ? (rest.size() == 1 ? p.singular : p.plural) + QLatin1Char(' ') : QString()) +
                    rangesText(rest),
                rest.size() > 1);
    }
    if (written.isEmpty() && interrupted.isEmpty())
        return QStringLiteral("Nothing was written.");
    QStringList sentences;
    if (!written.isEmpty())
        sentences << joinedWithAnd(written.texts) +
                         (written.plural ? QStringLiteral(" were written") : QStringLiteral(" was written"));
    if (!interrupted.isEmpty())
        sentences << joinedWithAnd(interrupted.texts) + QStringLiteral(" may be incomplete");
    if (!notWritten.isEmpty())
        sentences << joinedWithAnd(notWritten.texts) +
                         (notWritten.plural ? QStringLiteral(" were not") : QStringLiteral(" was not"));
    return capitalised(sentences.join(QStringLiteral("; "))) + QLatin1Char('.');
}

LinkLost WrittenParts::lost(const LinkLost &reason) const
{
    return LinkLost(reason.what() + std::string("\n") + describe().toStdString());
}
