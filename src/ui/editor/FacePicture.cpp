#include "ui/editor/FacePicture.h"

#include "render/FaceColors.h"

#include <QPainter>

FacePicture::FacePicture(const face::Element &element, QWidget *parent) : QLabel(parent), m_element(element)
{
    setObjectName(QLatin1String(element.name));
    setAccessibleName(QLatin1String(element.accessible));
    if (element.word) {
        setText(QLatin1String(element.word));
        setAlignment(element.align);
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, face::kInk);
        setPalette(pal);
    }
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void FacePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    face::paintElement(p, m_element, QRectF(rect()), font().pixelSize());
}
