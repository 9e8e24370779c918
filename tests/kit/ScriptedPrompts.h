// Test prompts: answer from a queue, record every prompt verbatim, fail on a prompt nobody expected.
#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>

struct PromptRecord {
    enum class Kind { YesNo, Message, Input, OpenFile, SaveFile };
    Kind kind;
    QString title;
    QString text;        // message text, input prompt, or the file dialog filter
    QString defaultText; // input boxes
    Prompts::Icon icon = Prompts::Icon::None;
    std::optional<QPoint> twips;
};

class ScriptedPrompts : public Prompts
{
public:
    using Kind = PromptRecord::Kind;
    using Answer = std::function<QString(const PromptRecord &)>;

    // Queue answers, in the order the prompts will appear.
    ScriptedPrompts &yes() { return push(Kind::YesNo, QStringLiteral("6")); }
    ScriptedPrompts &no() { return push(Kind::YesNo, QStringLiteral("7")); }
    ScriptedPrompts &ok() { return push(Kind::Message, QString()); }
    ScriptedPrompts &input(const QString &answer) { return push(Kind::Input, answer); }
    ScriptedPrompts &cancelInput() { return push(Kind::Input, QString()); }
    ScriptedPrompts &openFile(const QString &path) { return push(Kind::OpenFile, path); }
    ScriptedPrompts &saveFile(const QString &path) { return push(Kind::SaveFile, path); }
    // An answer computed when the prompt appears (it may also click things).
    ScriptedPrompts &answerWith(Kind kind, Answer answer);
    // The answer to every prompt of `kind` for which no queued answer is waiting (a
    // soak run cannot know in advance how many messages a fault will bring).
    ScriptedPrompts &otherwise(Kind kind, Answer answer);

    // Everything asked so far, in order.
    QList<PromptRecord> records;
    int beeps = 0;
    // Prompts that appeared with no matching queued answer.
    QStringList unexpected;

    int pending() const { return int(m_queue.size()); }
    const PromptRecord &last() const { return records.constLast(); }
    // Fails the running test when prompts were unexpected or answers were left over.
    bool verifyAllUsed() const;
    void clear();

    void beep() override { ++beeps; }
    int askYesNo(const QString &title, const QString &text, Icon icon) override;
    void message(const QString &title, const QString &text, Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(const QString &title, const QString &filter) override;

private:
    struct Expectation {
        Kind kind;
        Answer answer;
    };
    ScriptedPrompts &push(Kind kind, const QString &answer);
    QString take(const PromptRecord &record);
    std::deque<Expectation> m_queue;
    std::map<Kind, Answer> m_otherwise;
};

QString kindName(PromptRecord::Kind kind);
