// Prompts that pass every question and message on, keeping the text of each message
// shown: the operation's record of what the user was told.
#pragma once

#include "core/Prompts.h"

#include <QStringList>

class NotedPrompts : public Prompts
{
public:
    NotedPrompts(Prompts &prompts, QStringList &told) : m_prompts(prompts), m_told(told) {}

    void beep() override { m_prompts.beep(); }
    int askYesNo(const QString &title, const QString &text, Icon icon) override
    {
        return m_prompts.askYesNo(title, text, icon);
    }
    void message(const QString &title, const QString &text, Icon icon) override
    {
        m_told << text;
        m_prompts.message(title, text, icon);
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override
    {
        return m_prompts.inputBox(prompt, title, defaultText, twips);
    }
    QString openFile(const QString &title, const QString &filter) override { return m_prompts.openFile(title, filter); }
    QString saveFile(const QString &title, const QString &filter) override { return m_prompts.saveFile(title, filter); }
    QString chooseFolder(const QString &title) override { return m_prompts.chooseFolder(title); }

private:
    Prompts &m_prompts;
    QStringList &m_told;
};
