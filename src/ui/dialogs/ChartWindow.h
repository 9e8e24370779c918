// The "Calibration Curve Chart" window: one sender curve plotted as resistance against displayed value.
#pragma once

#include "ui/Twips.h"

#include <QList>
#include <QPointF>
#include <QWidget>

class ImageModel;
class Prompts;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class ChartWindow : public QWidget
{
    Q_OBJECT
public:
    ChartWindow(ImageModel &image, Prompts &prompts, QWidget *parent = nullptr);

    // Plots `curve`, places the window beside `where` and shows it.
    void showCurve(int curve, const QString &curveName, const twips::Beside &where);
    // Plots the curve's current points again (after an edit) without moving the window.
    void plotCurve(int curve, const QString &curveName = QString());

    // The curve plotted (0 = none yet) and its points: (ohms, stored value / 10) in
    // the instrument's units.
    int curveNumber() const { return m_curve; }
    QList<QPointF> plottedPoints() const;

private:
    ImageModel &m_image;
    QChartView *m_chartView;
    QChart *m_chart;
    QLineSeries *m_line;
    QScatterSeries *m_points;
    QValueAxis *m_axisX;
    QValueAxis *m_axisY;
    int m_curve = 0;
};
