// The painted face of the Corvane (control name picBrevo) with its displays, bar graphs and the overlay icons, each
// found by its designed name.
#pragma once

#include "ui/editor/FacePicture.h"

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

class FaceView : public QWidget
{
    Q_OBJECT
public:
    explicit FaceView(QWidget *parent = nullptr);

    // An overlay element by its designed name, or nullptr.
    QWidget *element(const QString &name) const;

    // The data-source codes of displays 1, 2, 3, left bar, right bar; each display shows its source.
    void setSources(const std::array<int, 5> &codes);
    // What display 0..4 shows ("1A" .. "4B", "C15" for another source, empty for none).
    QString sourceText(int display) const { return m_sourceText[size_t(display)]; }
    static QString sourceTextFor(int code) { return face::sourceText(code); }

    // Pointer mode shows the four pointer marks and a pointer in each bar; bar chart mode fills the bars.
    void setPointerMode(bool pointer);
    bool pointerMode() const { return m_pointer; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutOverlays();
    qreal scale() const;
    QPointF origin() const;
    void updateDescription();

    std::vector<FacePicture *> m_placed;
    std::array<QString, 5> m_sourceText;
    bool m_pointer = true;
};
