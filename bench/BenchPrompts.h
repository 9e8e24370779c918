// Prompts for unattended benchmark runs: every message and question is kept, questions are answered No.
#pragma once

#include "core/Prompts.h"

#include <QStringList>

class BenchPrompts : public Prompts
{
public:
    // Everything the user would have been told or asked, "title: text".
    QStringList told;

    void beep() override {}
    int askYesNo(const QString &title, const QString &text, Icon) override
    {
        told << title + QStringLiteral(": ") + text;
        return 7;
    }
    void message(const QString &title, const QString &text, Icon) override
    {
        told << title + QStringLiteral(": ") + text;
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &, std::optional<QPoint>) override
    {
        told << title + QStringLiteral(": ") + prompt;
        return QString();
    }
    QString openFile(const QString &, const QString &) override { return QString(); }
    QString saveFile(const QString &, const QString &) override { return QString(); }
};
