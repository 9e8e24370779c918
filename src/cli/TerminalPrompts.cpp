#include "cli/TerminalPrompts.h"

#include "cli/Console.h"

#include <QRegularExpression>

namespace
{
// Questions that offer another attempt rather than confirm a change.
bool isRetryQuestion(const QString &title)
{
    return title == QLatin1String("Can't find Corvane");
}

QString titled(const QString &title, const QString &text)
{
    if (title.isEmpty())
        return text;
    return title + (text.contains(QLatin1Char('\n')) ? QStringLiteral("\n") : QStringLiteral(": ")) + text;
}
} // namespace

void TerminalPrompts::namePort(int number, const QString &device, const QString &shown)
{
    const QString com = QStringLiteral("COM%1").arg(number);
    m_linkNames = {QStringLiteral("%1 (%2)").arg(com, device)};
    // A port given as a path has the number 1 only for the link's sake.
    if (shown.compare(com, Qt::CaseInsensitive) != 0)
        m_linkNames << com;
    m_shown = shown;
}

QString TerminalPrompts::userWords(QString text) const
{
    if (m_linkNames.isEmpty())
        return text;
    // One pass: a replacement that holds a name itself (a path ending in COM1) stays.
    QStringList alternatives;
    for (const QString &name : m_linkNames)
        alternatives << QRegularExpression::escape(name);
    text.replace(QRegularExpression(QStringLiteral("\\b(?:%1)(?![0-9])").arg(alternatives.join(QLatin1Char('|')))),
                 m_shown);
    return text;
}

bool TerminalPrompts::confirm(const QString &title, const QString &text)
{
    if (m_assumeYes) {
        m_console.note(titled(title, text) + QStringLiteral("\nYes (--yes)."));
        return true;
    }
    switch (m_console.ask(titled(title, text))) {
    case Console::Answer::Yes:
        return true;
    case Console::Answer::No:
        return false;
    case Console::Answer::Unavailable:
        break;
    }
    m_unanswered = true;
    m_console.note(titled(title, text) +
                   QStringLiteral("\nThis question cannot be answered here (no terminal): run again with --yes "
                                  "to answer Yes."));
    return false;
}

int TerminalPrompts::askYesNo(const QString &title, const QString &text, Icon)
{
    if (!isRetryQuestion(title))
        return confirm(title, text) ? kYes : kNo;
    if (!m_assumeYes && m_console.inputIsTerminal()) {
        const Console::Answer answer = m_console.ask(titled(title, userWords(text)));
        if (answer == Console::Answer::Yes)
            return kYes;
    }
    return kNo;
}

void TerminalPrompts::message(const QString &title, const QString &text, Icon icon)
{
    if (icon == Icon::Information || icon == Icon::None) {
        m_console.result(titled(title, userWords(text)));
        return;
    }
    m_console.note(titled(title, userWords(text)));
}

QString TerminalPrompts::inputBox(const QString &, const QString &, const QString &, std::optional<QPoint>)
{
    // The only input box of these operations asks for another port number after the
    // port failed to open; the command says why it failed instead.
    return QString();
}

QString TerminalPrompts::openFile(const QString &, const QString &)
{
    return QString();
}

QString TerminalPrompts::saveFile(const QString &, const QString &)
{
    return QString();
}
