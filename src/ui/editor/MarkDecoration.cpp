#include "ui/editor/MarkDecoration.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QWidget>

const QString MarkDecoration::kItemMark = QStringLiteral("  \u25C6");

namespace
{

// The diamond on a widget's top right corner, half outside it so that it covers none
// of the control's text: dark-edged vermilion, a shape that reads on light and dark
// controls alike and does not rely on its colour. It sits beside the control (a child of
// the same parent, above it), takes no clicks and no focus, and follows the control.
class Badge : public QWidget
{
public:
    static constexpr int kSize = MarkDecoration::kSize;

    explicit Badge(QWidget *control)
        : QWidget(control->parentWidget() ? control->parentWidget() : control), m_control(control)
    {
        setObjectName(QStringLiteral("differenceMark"));
        setAccessibleName(QStringLiteral("Difference mark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        resize(kSize, kSize);
        control->installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_control) {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::ZOrderChange:
                place();
                break;
            default:
                break;
            }
        }
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        MarkDecoration::paint(p, QRectF(0, 0, kSize, kSize));
    }

private:
    void place()
    {
        if (parentWidget() == m_control) {
            move(m_control->width() - kSize - 1, 1);
        } else {
            const QRect at = m_control->geometry();
            move(at.left() + contentWidth() - kSize / 2, at.top() - kSize / 2 + 1);
        }
        setVisible(parentWidget() == m_control || m_control->isVisibleTo(parentWidget()));
        raise();
    }

    // Check boxes and labels draw their text from the left: the mark ends it, however
    // wide the layout made them.
    int contentWidth() const
    {
        const auto *label = qobject_cast<QLabel *>(m_control);
        const bool fromLeft = qobject_cast<QCheckBox *>(m_control) || qobject_cast<QRadioButton *>(m_control) ||
                              (label && (label->alignment() & Qt::AlignLeft));
        return fromLeft ? qMin(m_control->width(), m_control->sizeHint().width()) : m_control->width();
    }

    QWidget *m_control;
};

QString withLine(const QString &before, const QString &line)
{
    return before.isEmpty() ? line : before + QLatin1Char('\n') + line;
}

// The item's text with the mark before its shortcut part (after a tab), if it has one.
QString markedItemText(const QString &text, const QString &brief)
{
    const QString mark = MarkDecoration::kItemMark + QLatin1Char(' ') + brief;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return text + mark;
    return text.left(tab) + mark + text.mid(tab);
}

} // namespace

void MarkDecoration::paint(QPainter &p, const QRectF &box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = box.center();
    const qreal r = box.width() / 2.0 - 0.5;
    const QPolygonF diamond{{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
    p.setPen(QPen(QColor(40, 20, 0), 1.0));
    p.setBrush(QColor(213, 94, 0));
    p.drawPolygon(diamond);
    p.restore();
}

void MarkDecoration::show(const QString &line, const QString &brief)
{
    if (!m_control)
        return;
    if (auto *widget = qobject_cast<QWidget *>(m_control.data()))
        showOnWidget(widget, line);
    else if (auto *item = qobject_cast<QAction *>(m_control.data()))
        showOnItem(item, line, brief);
    m_shown = true;
}

void MarkDecoration::showOnWidget(QWidget *widget, const QString &line)
{
    if (!m_shown) {
        m_tip = widget->toolTip();
        m_description = widget->accessibleDescription();
        m_badge = new Badge(widget);
    }
    m_markedTip = withLine(m_tip, line);
    m_markedDescription = withLine(m_description, line);
    widget->setToolTip(m_markedTip);
    widget->setAccessibleDescription(m_markedDescription);
}

void MarkDecoration::showOnItem(QAction *item, const QString &line, const QString &brief)
{
    if (!m_shown) {
        m_tip = item->statusTip();
        m_text = item->text();
    }
    m_markedText = markedItemText(m_text, brief);
    m_markedTip = withLine(m_tip, line);
    item->setText(m_markedText);
    item->setStatusTip(m_markedTip);
}

void MarkDecoration::clear()
{
    if (!m_shown)
        return;
    m_shown = false;
    delete m_badge.data();
    if (auto *widget = qobject_cast<QWidget *>(m_control.data())) {
        if (widget->toolTip() == m_markedTip)
            widget->setToolTip(m_tip);
        if (widget->accessibleDescription() == m_markedDescription)
            widget->setAccessibleDescription(m_description);
    } else if (auto *item = qobject_cast<QAction *>(m_control.data())) {
        if (item->statusTip() == m_markedTip)
            item->setStatusTip(m_tip);
        if (item->text() == m_markedText)
            item->setText(m_text);
    }
}

void MarkDecoration::forget()
{
    m_shown = false;
    m_control = nullptr;
    delete m_badge.data(); // beside the control, not inside it
}

QPoint MarkDecoration::menuPosition(QWidget *widget)
{
    return widget->mapToGlobal(QPoint(widget->width() / 2, widget->height() / 2));
}
