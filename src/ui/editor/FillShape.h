// A small filled round shape with a settable fill colour (the connection lamp).
#pragma once

#include <QColor>
#include <QWidget>

class FillShape : public QWidget
{
    Q_OBJECT
public:
    explicit FillShape(const QColor &fill, QWidget *parent = nullptr);

    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor &color);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void describe();
    QColor m_fill;
};
