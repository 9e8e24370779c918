#include "ui/editor/FaceView.h"

#include "ui/editor/FacePicture.h"

#include <QPainter>
#include <QResizeEvent>
#include <cmath>

using face::kDesignH;
using face::kDesignW;

FaceView::FaceView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBrevo"));
    setAccessibleName(QStringLiteral("Corvane instrument picture"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFocusPolicy(Qt::NoFocus);

    for (const face::Element &e : face::elements()) {
        auto *overlay = new FacePicture(e, this);
        if (e.shape == face::Shape::Highlight)
            overlay->hide();
        m_placed.push_back(overlay);
    }
    updateDescription();
    layoutOverlays();
}

QWidget *FaceView::element(const QString &name) const
{
    return findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

void FaceView::setSources(const std::array<int, 5> &codes)
{
    std::array<QString, 5> texts;
    for (size_t i = 0; i < 5; ++i)
        texts[i] = sourceTextFor(codes[i]);
    if (texts == m_sourceText)
        return;
    m_sourceText = texts;
    updateDescription();
    update();
}

void FaceView::setPointerMode(bool pointer)
{
    for (const char *name :
         {"PicDisplay4PointerU", "PicDisplay4PointerD", "PicDisplay5PointerU", "PicDisplay5PointerD"})
        element(QLatin1String(name))->setVisible(pointer);
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    updateDescription();
    update();
}

void FaceView::updateDescription()
{
    static const char *const names[5] = {"Digital display 1", "Digital display 2", "Digital display 3",
                                         "Left bar graph", "Right bar graph"};
    QStringList parts;
    for (size_t i = 0; i < 5; ++i)
        parts << QStringLiteral("%1: %2").arg(QLatin1String(names[i]),
                                              m_sourceText[i].isEmpty() ? QStringLiteral("none") : m_sourceText[i]);
    parts << (m_pointer ? QStringLiteral("bar graphs in pointer mode") : QStringLiteral("bar graphs as bar charts"));
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

QSize FaceView::sizeHint() const
{
    return QSize(int(kDesignW), int(kDesignH));
}

QSize FaceView::minimumSizeHint() const
{
    return QSize(int(kDesignW * 0.75), int(kDesignH * 0.75));
}

int FaceView::heightForWidth(int width) const
{
    return int(std::lround(width * kDesignH / kDesignW));
}

qreal FaceView::scale() const
{
    return qMin(width() / kDesignW, height() / kDesignH);
}

QPointF FaceView::origin() const
{
    const qreal s = scale();
    return QPointF((width() - kDesignW * s) / 2.0, (height() - kDesignH * s) / 2.0);
}

void FaceView::layoutOverlays()
{
    const qreal s = scale();
    const QPointF o = origin();
    for (FacePicture *overlay : m_placed) {
        const QRectF design = face::element(overlay->objectName())->design;
        const QRectF r(o.x() + design.x() * s, o.y() + design.y() * s, design.width() * s, design.height() * s);
        overlay->setGeometry(r.toAlignedRect());
        if (overlay->shape() == face::Shape::Word)
            overlay->setFont(face::wordFont(face::kWordPx * s));
    }
}

void FaceView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutOverlays();
}

void FaceView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = scale();
    p.translate(origin());
    p.scale(s, s);
    face::paintBase(p, m_sourceText, m_pointer);
}
