// Small builders the main window's areas share: a named button, label and frame.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace ui
{

inline QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &accessible)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setAutoDefault(false);
    return button;
}

inline QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

inline QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &title)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setAccessibleName(title.trimmed());
    return frame;
}

} // namespace ui
