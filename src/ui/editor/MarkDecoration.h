// What a marked control shows while one of its fields differs from the reference: a
// small diamond (a shape, legible without colour) on a widget's top right corner or
// after a menu item's text (with what the reference holds), and a line added to its tooltip (a menu item's status
// tip) and accessible description. Taking the mark off puts each of them back as it
// was, unless the control has since set one of them itself.
#pragma once

#include <QPointer>
#include <QString>

class QAction;
class QObject;
class QPainter;
class QRectF;
class QWidget;

class MarkDecoration
{
public:
    explicit MarkDecoration(QObject *control) : m_control(control) {}
    ~MarkDecoration() { clear(); }
    MarkDecoration(const MarkDecoration &) = delete;
    MarkDecoration &operator=(const MarkDecoration &) = delete;

    // Marks the control with `line` (several lines for several fields), or changes the
    // line. A menu item's text also says `brief` after the mark: screen readers read a
    // menu item's text, not its status tip.
    void show(const QString &line, const QString &brief);
    // Takes the mark off.
    void clear();
    bool shown() const { return m_shown; }
    // The control is being destroyed: nothing of it is touched any more.
    void forget();
    // Where a keyboard-opened menu for the control appears, in global coordinates.
    static QPoint menuPosition(QWidget *widget);

    // Draws the diamond into `box`, for a window that marks a part of a control itself
    // (a cell of a grid); kSize wide and high, as on a widget.
    static void paint(QPainter &painter, const QRectF &box);
    static constexpr int kSize = 9;

    // The mark after a menu item's text.
    static const QString kItemMark;

private:
    void showOnWidget(QWidget *widget, const QString &line);
    void showOnItem(QAction *item, const QString &line, const QString &brief);

    QPointer<QObject> m_control;
    QPointer<QWidget> m_badge;
    bool m_shown = false;
    // What the control said before, and what the mark made of it.
    QString m_tip, m_description, m_text;
    QString m_markedTip, m_markedDescription, m_markedText;
};
