// One element laid over the instrument face (an icon word or arrow, a bar graph pointer mark or a display
// highlight), painted by the face painter the report uses too.
#pragma once

#include "render/FacePainter.h"

#include <QLabel>

// A label, so that a word keeps its text for assistive tools; pictures have none.
class FacePicture : public QLabel
{
    Q_OBJECT
public:
    FacePicture(const face::Element &element, QWidget *parent);
    face::Shape shape() const { return m_element.shape; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const face::Element &m_element;
};
