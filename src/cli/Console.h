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
        // Told true while a question waits for its answer and false once it has one:
        // an interrupt then ends the program at once.
        std::function<void(bool)> asking;
        // The terminal's width in characters; empty or 0 when not known (80 is assumed).
        std::function<int()> columns;
    };

    explicit Console(const Streams &streams) : m_s(streams) {}

    // A result: standard output, one or more lines.
    void result(const QString &text);
    // A message for the user: standard error, after the progress line is taken down.
    void note(const QString &text);
    // The progress line. On a terminal it is redrawn in place, its start cut off when it
    // is wider than statusWidth(); otherwise each new text is written as a plain line of
    // its own (and a repeated text not at all).
    void status(const QString &text);
    // Ends the progress line, so that what follows starts on a fresh line.
    void endStatus();

    // Asks `question` on the terminal and reads the answer, or says that no answer
    // can be had (Unavailable: standard input is not a terminal or has ended).
    enum class Answer { Yes, No, Unavailable };
    Answer ask(const QString &question);

    bool errorIsTerminal() const { return m_s.errorIsTerminal; }
    // The width the progress line has: the terminal's, less one column so that the
    // cursor never wraps to a new line.
    int statusWidth() const;
    bool inputIsTerminal() const { return m_s.inputIsTerminal; }

    // Message texts carry CR LF line ends; a terminal wants LF. Other control
    // characters are shown escaped ("\x1b"), never sent to the terminal.
    static QString plain(QString text);

private:
    Streams m_s;
    QString m_status;    // the progress line as last shown
    bool m_open = false; // a progress line is on the terminal and not yet ended
};
