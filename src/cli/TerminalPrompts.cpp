#include "cli/TerminalPrompts.h"

#include "cli/Console.h"
#include "core/EditorState.h"

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
        const Console::Answer answer = m_console.ask(titled(title, text));
        if (answer == Console::Answer::Yes)
            return kYes;
    }
    return kNo;
}

void TerminalPrompts::message(const QString &title, const QString &text, Icon icon)
{
    if (icon == Icon::Information || icon == Icon::None) {
        m_console.result(titled(title, text));
        return;
    }
    m_console.note(titled(title, text));
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
