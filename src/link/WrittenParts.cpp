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
    Part p;
    p.singular = p.plural = name;
    p.many = plural;
    m_parts.append(p);
    return int(m_parts.size()) - 1;
}

int WrittenParts::add(const QString &singular, const QString &plural, const QList<int> &numbers)
{
    Part p;
    p.singular = singular;
    p.plural = plural;
    p.numbers = numbers;
    p.many = p.numbered = true;
    m_parts.append(p);
    return int(m_parts.size()) - 1;
}

void WrittenParts::begin(int part, int number)
{
    m_parts[part].begun = number;
    if (m_link)
        m_parts[part].begunAt = m_link->traffic();
}

void WrittenParts::written(int part, int number)
{
    Part &p = m_parts[part];
    const bool unconfirmed = m_link && p.begun == number && m_link->traffic().unconfirmed > p.begunAt.unconfirmed;
    QList<int> &into = unconfirmed ? p.incomplete : p.done;
    if (!into.contains(number))
        into.append(number);
    p.begun = -1;
}

WrittenParts::State WrittenParts::begunState(const Part &p) const
{
    if (p.begun < 0)
        return State::NotWritten;
    if (!m_link)
        return State::Incomplete;
    // The instrument echoes every data byte it takes: when every byte sent of the part
    // waited out its echo with nothing coming back, it took none of them. A byte whose
    // wait the lost link cut short may have been stored.
    const SerialLink::Traffic now = m_link->traffic();
    const bool noneArrived = now.sent - p.begunAt.sent == now.unanswered - p.begunAt.unanswered;
    return noneArrived ? State::NotWritten : State::Incomplete;
}

QString WrittenParts::describe() const
{
    Items written, interrupted, notWritten;
    for (const Part &p : m_parts) {
        const State begun = begunState(p);
        if (!p.numbered) {
            Items &items = !p.done.isEmpty()                                       ? written
                           : !p.incomplete.isEmpty() || begun == State::Incomplete ? interrupted
                                                                                   : notWritten;
            items.add(p.singular, p.many);
            continue;
        }
        if (p.numbers.isEmpty())
            continue;
        QList<int> incomplete = p.incomplete;
        if (begun == State::Incomplete)
            incomplete << p.begun;
        QList<int> rest;
        for (int n : p.numbers)
            if (!p.done.contains(n) && !incomplete.contains(n))
                rest << n;
        const auto named = [&p](const QList<int> &numbers) {
            return (numbers.size() == 1 ? p.singular : p.plural) + QLatin1Char(' ') + rangesText(numbers);
        };
        if (!p.done.isEmpty())
            written.add(named(p.done), p.done.size() > 1);
        if (!incomplete.isEmpty())
            interrupted.add(named(incomplete), incomplete.size() > 1);
        if (rest.size() == p.numbers.size())
            notWritten.add(QStringLiteral("the ") + p.plural, true);
        else if (!rest.isEmpty())
            notWritten.add(named(rest), rest.size() > 1);
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
