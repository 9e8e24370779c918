// One painted picture laid over the instrument face: an icon arrow, a bar graph pointer mark or a display highlight.
#pragma once

#include <QWidget>

class FacePicture : public QWidget
{
    Q_OBJECT
public:
    enum class Shape { ArrowLeft, ArrowRight, ArrowUp, ArrowDown, PointerUp, PointerDown, Highlight };

    FacePicture(Shape shape, const QString &name, const QString &accessibleName, QWidget *parent);
    Shape shape() const { return m_shape; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape;
};
