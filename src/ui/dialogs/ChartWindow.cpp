#include "ui/dialogs/ChartWindow.h"

#include "core/ImageModel.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace
{

constexpr int kPoints = 32;

// Axis range that always includes 0, never collapses to a single value and ends on
// round numbers.
void fitAxis(QValueAxis *axis, double low, double high)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high - low < 1e-9)
        high = low + 1.0;
    // A little room so that the last point is not drawn on the frame.
    high += (high - low) * 0.04;
    axis->setTickCount(9);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    axis->setMinorTickCount(1);
}

} // namespace

ChartWindow::ChartWindow(ImageModel &image, Prompts &, QWidget *parent)
    : QWidget(parent), m_image(image), m_chart(new QChart), m_line(new QLineSeries), m_points(new QScatterSeries),
      m_axisX(new QValueAxis), m_axisY(new QValueAxis)
{
    // A new image (undo, Open, a download) is plotted at once.
    connect(&m_image, &ImageModel::imageReplaced, this, [this] {
        if (m_curve)
            plotCurve(m_curve, m_chart->title());
    });
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(QStringLiteral("Calibration Curve Chart"));

    m_chart->addSeries(m_line);
    m_chart->addSeries(m_points);
    m_axisX->setTitleText(QStringLiteral("Resistance in Ohms"));
    m_axisY->setTitleText(QStringLiteral("Displayed Value"));
    m_axisX->setLabelFormat(QStringLiteral("%g"));
    m_axisY->setLabelFormat(QStringLiteral("%g"));
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
    for (auto *series : {static_cast<QXYSeries *>(m_line), static_cast<QXYSeries *>(m_points)}) {
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
    }
    m_points->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_points->setMarkerSize(8.0);
    m_points->setColor(m_line->color());
    m_chart->legend()->hide();

    m_chartView = new QChartView(m_chart, this);
    m_chartView->setObjectName(QStringLiteral("MSChart1"));
    m_chartView->setAccessibleName(QStringLiteral("Calibration curve chart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setFocusPolicy(Qt::StrongFocus);
    m_chartView->setMinimumSize(twips::toPixels(7200), twips::toPixels(5400));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chartView);
}

void ChartWindow::showCurve(int curve, const QString &curveName, const twips::Beside &where)
{
    plotCurve(curve, curveName);
    twips::placeBeside(this, where);
    show();
    raise();
}

void ChartWindow::plotCurve(int curve, const QString &curveName)
{
    m_curve = curve;
    m_chart->setTitle(curveName);
    QList<QPointF> points;
    if (curve >= 1 && curve <= 32) {
        for (int p = 1; p <= kPoints; ++p) {
            // The chart's table holds single-precision numbers, values in whole units.
            const float ohms = m_image.curveOhms(curve, p);
            const float value = float(double(m_image.curveValue(curve, p)) / 10.0);
            if (std::isfinite(ohms) && std::isfinite(value))
                points.append(QPointF(ohms, value));
        }
    }
    m_line->replace(points);
    m_points->replace(points);

    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const QPointF &p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    fitAxis(m_axisX, minX, maxX);
    fitAxis(m_axisY, minY, maxY);
}

QList<QPointF> ChartWindow::plottedPoints() const
{
    return m_line->points();
}
