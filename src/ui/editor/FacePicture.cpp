#include "ui/editor/FacePicture.h"

#include "ui/editor/FaceColors.h"

#include <QPainter>
#include <QPainterPath>

FacePicture::FacePicture(Shape shape, const QString &name, const QString &accessibleName, QWidget *parent)
    : QWidget(parent), m_shape(shape)
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

namespace
{

// An arrow pointing up inside a w x h box; other directions are rotations of it.
QPainterPath upArrow(qreal w, qreal h)
{
    const qreal head = h * 0.52;
    const qreal stem = w * 0.38;
    QPainterPath path;
    path.moveTo(w / 2.0, 0);
    path.lineTo(w, head);
    path.lineTo((w + stem) / 2.0, head);
    path.lineTo((w + stem) / 2.0, h);
    path.lineTo((w - stem) / 2.0, h);
    path.lineTo((w - stem) / 2.0, head);
    path.lineTo(0, head);
    path.closeSubpath();
    return path;
}

} // namespace

void FacePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal m = qMax<qreal>(1.0, qMin(w, h) * 0.06); // margin keeps the edges off the widget border

    switch (m_shape) {
    case Shape::Highlight: {
        const qreal pen = qMax<qreal>(2.0, qMin(w, h) / 30.0);
        p.setPen(QPen(face::kHighlightEdge, pen));
        p.setBrush(face::kHighlightFill);
        p.drawRoundedRect(QRectF(pen / 2, pen / 2, w - pen, h - pen), pen * 2, pen * 2);
        return;
    }
    case Shape::PointerUp:
    case Shape::PointerDown: {
        QPainterPath tri;
        if (m_shape == Shape::PointerUp) {
            tri.moveTo(w / 2, m);
            tri.lineTo(w - m, h - m);
            tri.lineTo(m, h - m);
        } else {
            tri.moveTo(m, m);
            tri.lineTo(w - m, m);
            tri.lineTo(w / 2, h - m);
        }
        tri.closeSubpath();
        p.fillPath(tri, face::kInk);
        return;
    }
    default:
        break;
    }

    // Arrows: draw an up arrow in a box turned to the wanted direction.
    const bool sideways = m_shape == Shape::ArrowLeft || m_shape == Shape::ArrowRight;
    const qreal bw = (sideways ? h : w) - 2 * m;
    const qreal bh = (sideways ? w : h) - 2 * m;
    p.translate(w / 2, h / 2);
    switch (m_shape) {
    case Shape::ArrowDown:
        p.rotate(180);
        break;
    case Shape::ArrowLeft:
        p.rotate(-90);
        break;
    case Shape::ArrowRight:
        p.rotate(90);
        break;
    default:
        break;
    }
    p.translate(-bw / 2, -bh / 2);
    p.fillPath(upArrow(bw, bh), face::kInk);
}
