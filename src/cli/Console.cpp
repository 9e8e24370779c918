#include "cli/Console.h"

QString Console::plain(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
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

void Console::status(const QString &text)
{
    if (text == m_status && (m_open || !m_s.errorIsTerminal))
        return;
    m_status = text;
    if (m_s.errorIsTerminal) {
        // Carriage return, the text, and "erase to the end of the line".
        m_s.err << '\r' << text << "\x1b[K";
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
        m_s.err << plain(question) << " [y/n] ";
        m_s.err.flush();
        const QString line = m_s.readLine();
        if (line.isNull())
            return Answer::Unavailable;
        const QString a = line.trimmed().toLower();
        if (a == QLatin1String("y") || a == QLatin1String("yes"))
            return Answer::Yes;
        if (a == QLatin1String("n") || a == QLatin1String("no"))
            return Answer::No;
    }
}
