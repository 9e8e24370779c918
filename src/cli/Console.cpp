#include "cli/Console.h"

#include <algorithm>

QString Console::plain(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A message may quote bytes of a file: a control character in it would be obeyed by
    // the terminal (colours, its title, the cursor), so it is shown as \xNN instead.
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = (u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7F && u <= 0x9F);
        if (control)
            shown += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

void Console::result(const QString &text)
{
    endStatus();
    m_s.out << plain(text) << '\n';
    m_s.out.flush();
}

void Console::note(const QString &text)
{
    endStatus();
    m_s.err << plain(text) << '\n';
    m_s.err.flush();
}

int Console::statusWidth() const
{
    const int columns = m_s.columns ? m_s.columns() : 0;
    return std::max(1, (columns > 0 ? columns : 80) - 1);
}

void Console::status(const QString &text)
{
    if (text == m_status && (m_open || !m_s.errorIsTerminal))
        return;
    m_status = text;
    if (m_s.errorIsTerminal) {
        // A line wider than the terminal would wrap, and the carriage return would then
        // go back to its last row only: every update would leave a new line behind.
        const int width = statusWidth();
        const QString shown = text.size() <= width ? text : text.right(width);
        // Carriage return, the text, and "erase to the end of the line".
        m_s.err << '\r' << shown << "\x1b[K";
        m_open = true;
    } else {
        m_s.err << text << '\n';
    }
    m_s.err.flush();
}

void Console::endStatus()
{
    if (m_open) {
        m_s.err << '\n';
        m_s.err.flush();
    }
    m_open = false;
    m_status.clear();
}

Console::Answer Console::ask(const QString &question)
{
    endStatus();
    if (!m_s.inputIsTerminal || !m_s.readLine)
        return Answer::Unavailable;
    for (;;) {
        // Asking from before the question shows: an interrupt once it is on the screen
        // answers it.
        if (m_s.asking)
            m_s.asking(true);
        m_s.err << plain(question) << " [y/n] ";
        m_s.err.flush();
        const QString line = m_s.readLine();
        if (m_s.asking)
            m_s.asking(false);
        if (line.isNull())
            return Answer::Unavailable;
        const QString a = line.trimmed().toLower();
        if (a == QLatin1String("y") || a == QLatin1String("yes"))
            return Answer::Yes;
        if (a == QLatin1String("n") || a == QLatin1String("no"))
            return Answer::No;
    }
}
