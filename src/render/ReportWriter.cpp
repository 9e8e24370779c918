#include "render/ReportWriter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainterPath>
#include <cmath>

namespace report
{
namespace
{

const QColor kText(20, 20, 20);
const QColor kRule(150, 150, 150);
const QColor kShade(238, 240, 243);
const QColor kGrid(215, 218, 222);
const QColor kCurve(32, 96, 168);

QFont reportFont(qreal size, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                   QStringLiteral("sans-serif")});
    // Pixels are whole numbers: a font of four pixels a point, drawn at a quarter (see text()).
    f.setPixelSize(qMax(1, int(std::lround(size * 4))));
    f.setBold(bold);
    return f;
}

// A round step for about `ticks` intervals over `range`: 1, 2 or 5 times a power of ten.
double niceStep(double range, int ticks)
{
    const double raw = range / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

} // namespace

ReportWriter::ReportWriter(QPagedPaintDevice &device, const QString &footer, int totalPages)
    : m_device(device), m_footer(footer), m_totalPages(totalPages)
{
    if (!m_painter.begin(&device))
        return;
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
}

bool ReportWriter::finish()
{
    return m_painter.end();
}

void ReportWriter::page(const QString &heading)
{
    if (m_result.pages > 0)
        m_device.newPage();
    ++m_result.pages;
    m_result.pageTitles << heading;
    m_flowing = false;
    // Points on the page.
    m_painter.resetTransform();
    const qreal perPoint = m_device.logicalDpiX() / 72.0;
    m_painter.scale(perPoint, perPoint);

    text(QRectF(kMargin, kMargin, kPageW - 2 * kMargin, 24), Qt::AlignLeft | Qt::AlignVCenter, heading, 16, true);
    m_painter.setPen(QPen(kRule, 0.75));
    m_painter.drawLine(QPointF(kMargin, 64), QPointF(kPageW - kMargin, 64));
    const QRectF foot(kMargin, kPageH - kMargin - 10, kPageW - 2 * kMargin, 12);
    text(foot, Qt::AlignLeft | Qt::AlignVCenter, m_footer, 7.5);
    text(foot, Qt::AlignRight | Qt::AlignVCenter,
         m_totalPages ? QStringLiteral("Page %1 of %2").arg(m_result.pages).arg(m_totalPages)
                      : QStringLiteral("Page %1").arg(m_result.pages),
         7.5);
}

void ReportWriter::text(const QRectF &box, int flags, const QString &text, qreal size, bool bold)
{
    if (text.isEmpty())
        return;
    m_result.texts << text;
    QFont font = reportFont(size, bold);
    // The painter is scaled to points with fonts of four pixels a point: draw at a quarter.
    m_painter.save();
    m_painter.scale(0.25, 0.25);
    const QRectF scaled(box.topLeft() * 4, box.size() * 4);
    if (!(flags & Qt::TextWordWrap)) {
        // A text wider than its box is made smaller rather than cut off.
        const qreal width = QFontMetricsF(font, &m_device).horizontalAdvance(text);
        if (width > scaled.width() && width > 0)
            font.setPixelSize(qMax(1, int(font.pixelSize() * scaled.width() / width)));
    }
    m_painter.setFont(font);
    m_painter.setPen(kText);
    m_painter.drawText(scaled, flags, text);
    m_painter.restore();
}

qreal ReportWriter::rowHeight(const Row &row, qreal valueWidth) const
{
    if (row.heading)
        return kRowH;
    const qreal width = QFontMetricsF(reportFont(8.5, true), &m_device).horizontalAdvance(row.value) / 4;
    return width > valueWidth ? 2 * kRowH : kRowH;
}

int ReportWriter::table(const QRectF &box, const std::vector<Row> &rows, size_t from, qreal nameWidth, qreal *used)
{
    const qreal valueWidth = box.width() - nameWidth - 4;
    qreal y = box.top();
    size_t i = from;
    for (; i < rows.size(); ++i) {
        const Row &row = rows[i];
        const qreal height = rowHeight(row, valueWidth);
        if (y + height > box.bottom())
            break;
        const QRectF line(box.left(), y, box.width(), height);
        y += height;
        if (row.heading) {
            text(line.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom, row.name, 9.5, true);
            continue;
        }
        if ((i - from) % 2 == 0)
            m_painter.fillRect(line, kShade);
        text(QRectF(box.left() + 4, line.top(), nameWidth - 8, kRowH), Qt::AlignLeft | Qt::AlignVCenter, row.name, 8.5);
        // A long value takes the line under its name, from a small indent to the right edge.
        const QRectF value = height > kRowH ? QRectF(box.left() + 16, line.top() + kRowH, box.width() - 20, kRowH)
                                            : QRectF(box.left() + nameWidth, line.top(), valueWidth, kRowH);
        text(value, Qt::AlignLeft | Qt::AlignVCenter, row.value, 8.5, true);
    }
    if (used)
        *used = y - box.top();
    return int(i);
}

QRectF ReportWriter::flowColumn() const
{
    const qreal gap = 24;
    const qreal width = (kPageW - 2 * kMargin - gap) / 2;
    return QRectF(kMargin + m_column * (width + gap), m_y, width, kBottom - m_y);
}

void ReportWriter::flow(const QString &pageHeading, const QString &section, const std::vector<Row> &rows)
{
    const auto heading = [&](const QString &title) {
        text(QRectF(flowColumn().left(), m_y, flowColumn().width(), 16), Qt::AlignLeft | Qt::AlignVCenter, title, 11,
             true);
        m_y += 18;
    };
    const auto nextColumn = [&] {
        if (m_flowing && m_column == 0) {
            m_column = 1;
        } else {
            page(pageHeading);
            m_flowing = true;
            m_column = 0;
        }
        m_y = kTop;
    };
    if (!m_flowing)
        nextColumn();
    // A section heading never stands alone at the foot of a column.
    if (m_y + 3 * kRowH > kBottom)
        nextColumn();
    m_y += m_y > kTop ? kRowH : 0;
    heading(section);
    size_t from = 0;
    while (from < rows.size()) {
        const QRectF column = flowColumn();
        qreal used = 0;
        from = size_t(table(column, rows, from, column.width() * 0.52, &used));
        m_y += used;
        if (from < rows.size()) {
            nextColumn();
            heading(section + QStringLiteral(" (continued)"));
        }
    }
}

void ReportWriter::axis(const QRectF &plot, double low, double high, bool horizontal, const QString &title)
{
    const double step = niceStep(high - low, 8);
    m_painter.setPen(QPen(kGrid, 0.5));
    for (double v = low; v <= high + step * 1e-6; v += step) {
        const double f = (v - low) / (high - low);
        const QString label = QString::number(std::abs(v) < step * 1e-6 ? 0.0 : v, 'g', 7);
        if (horizontal) {
            const qreal x = plot.left() + f * plot.width();
            m_painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
            text(QRectF(x - 30, plot.bottom() + 3, 60, 10), Qt::AlignHCenter | Qt::AlignTop, label, 7.5);
        } else {
            const qreal y = plot.bottom() - f * plot.height();
            m_painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            text(QRectF(plot.left() - 50, y - 5, 46, 10), Qt::AlignRight | Qt::AlignVCenter, label, 7.5);
        }
        m_painter.setPen(QPen(kGrid, 0.5));
    }
    if (horizontal) {
        text(QRectF(plot.left(), plot.bottom() + 16, plot.width(), 14), Qt::AlignCenter, title, 9, true);
        return;
    }
    m_painter.save();
    m_painter.translate(plot.left() - 64, plot.center().y());
    m_painter.rotate(-90);
    text(QRectF(-plot.height() / 2, -7, plot.height(), 14), Qt::AlignCenter, title, 9, true);
    m_painter.restore();
}

void ReportWriter::chart(const QRectF &box, const std::vector<QPointF> &points, const QString &xTitle,
                         const QString &yTitle)
{
    // Axes that always include 0 and end on round numbers.
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    for (const QPointF &p : points) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    const auto round = [](double &low, double &high) {
        if (high - low < 1e-9)
            high = low + 1.0;
        const double step = niceStep(high - low, 8);
        low = std::floor(low / step) * step;
        high = std::ceil(high / step) * step;
    };
    round(x0, x1);
    round(y0, y1);

    const QRectF plot = box.adjusted(70, 6, -10, -36);
    axis(plot, x0, x1, true, xTitle);
    axis(plot, y0, y1, false, yTitle);
    m_painter.setPen(QPen(kText, 0.75));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(plot);

    const auto at = [&](const QPointF &p) {
        return QPointF(plot.left() + (p.x() - x0) / (x1 - x0) * plot.width(),
                       plot.bottom() - (p.y() - y0) / (y1 - y0) * plot.height());
    };
    QPainterPath line;
    for (size_t i = 0; i < points.size(); ++i)
        i == 0 ? line.moveTo(at(points[i])) : line.lineTo(at(points[i]));
    m_painter.setPen(QPen(kCurve, 1.25));
    m_painter.drawPath(line);
    m_painter.setBrush(kCurve);
    for (const QPointF &p : points)
        m_painter.drawEllipse(at(p), 2.2, 2.2);
    m_painter.setBrush(Qt::NoBrush);
}

} // namespace report
