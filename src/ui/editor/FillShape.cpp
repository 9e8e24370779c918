#include "ui/editor/FillShape.h"

#include <QPainter>

FillShape::FillShape(const QColor &fill, QWidget *parent) : QWidget(parent), m_fill(fill)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    describe();
}

void FillShape::setFillColor(const QColor &color)
{
    if (color == m_fill)
        return;
    m_fill = color;
    describe();
    update();
}

void FillShape::describe()
{
    // Screen readers get the lamp's state as a word, not a colour value.
    setAccessibleDescription(m_fill == QColor(0, 255, 0) ? QStringLiteral("green") : QStringLiteral("red"));
}

void FillShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2.0;
    const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(m_fill);
    p.drawEllipse(r);
}
