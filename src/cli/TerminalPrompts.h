// Prompts on a terminal: messages to standard error or output, questions asked on the
// terminal or answered by --yes.
#pragma once

#include "core/Prompts.h"

#include <QStringList>

class Console;

class TerminalPrompts : public Prompts
{
public:
    // `assumeYes`: confirmations are answered Yes without asking (--yes).
    TerminalPrompts(Console &console, bool assumeYes) : m_console(console), m_assumeYes(assumeYes) {}

    void beep() override {}
    // A confirmation is answered Yes under --yes, else asked on the terminal. A
    // question about trying again ("Can't find Corvane") is asked on a terminal
    // without --yes and otherwise answered No: an unattended run never retries for ever.
    int askYesNo(const QString &title, const QString &text, Icon icon) override;
    // Information goes to standard output, warnings and errors to standard error.
    void message(const QString &title, const QString &text, Icon icon) override;
    // Cancelled at once: the only input box an operation shows asks for another port
    // number; on the command line that is another --port.
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(const QString &title, const QString &filter) override;

    // Whether a confirmation could not be answered (no --yes, no terminal): the
    // program then ends with "refused".
    bool unanswered() const { return m_unanswered; }

    // A yes/no question of the program's own, under the same rules as a confirmation.
    bool confirm(const QString &title, const QString &text);

    // The link names the port by number, with its device ("COM1 (/tmp/x)"); texts for
    // the user name it as the user did on the command line.
    void namePort(int number, const QString &device, const QString &shown);

private:
    QString userWords(QString text) const;

    Console &m_console;
    bool m_assumeYes;
    bool m_unanswered = false;
    QStringList m_linkNames; // how the link names the port, longest first
    QString m_shown;
};
