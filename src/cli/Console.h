// The terminal as the command-line program uses it: results on standard output,
// messages and a progress line on standard error, questions read from standard input.
#pragma once

#include <QString>
#include <QTextStream>
#include <functional>

class Console
{
public:
    struct Streams {
        QTextStream &out;
        QTextStream &err;
        // The next line typed on standard input; a null string at the end of input.
        std::function<QString()> readLine;
        bool inputIsTerminal = false;
        bool errorIsTerminal = false;
    };

    explicit Console(const Streams &streams) : m_s(streams) {}

    // A result: standard output, one or more lines.
    void result(const QString &text);
    // A message for the user: standard error, after the progress line is taken down.
    void note(const QString &text);
    // The progress line. On a terminal it is redrawn in place; otherwise each new text
    // is written as a plain line of its own (and a repeated text not at all).
    void status(const QString &text);
    // Ends the progress line, so that what follows starts on a fresh line.
    void endStatus();

    // Asks `question` on the terminal and reads the answer, or says that no answer
    // can be had (Unavailable: standard input is not a terminal or has ended).
    enum class Answer { Yes, No, Unavailable };
    Answer ask(const QString &question);

    bool errorIsTerminal() const { return m_s.errorIsTerminal; }
    bool inputIsTerminal() const { return m_s.inputIsTerminal; }

    // Message texts carry CR LF line ends; a terminal wants LF.
    static QString plain(QString text);

private:
    Streams m_s;
    QString m_status;    // the progress line as last shown
    bool m_open = false; // a progress line is on the terminal and not yet ended
};
