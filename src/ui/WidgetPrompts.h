// The real prompts: message boxes, input and file dialogs, the system beep.
#pragma once

#include "core/Prompts.h"

class QWidget;

class WidgetPrompts : public Prompts
{
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void beep() override;
    int askYesNo(const QString &title, const QString &text, Icon icon) override;
    void message(const QString &title, const QString &text, Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override;
    QString openFile(const QString &title, const QString &filter) override;
    QString saveFile(const QString &title, const QString &filter) override;
    QString chooseFolder(const QString &title) override;

    // "Files (*.CFG)| *.CFG" -> "Files (*.CFG) (*.CFG)" for Qt's dialogs.
    static QString qtFilter(const QString &designedFilter);

private:
    QWidget *m_parent;
};
