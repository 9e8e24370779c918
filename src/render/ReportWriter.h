// The page primitives of the report: pages of A4 landscape in points (1/72 inch), a
// heading and footer on each, text that is remembered as it is painted, field
// tables that flow over two columns and pages, and the XY chart of a sender curve.
#pragma once

#include "render/Report.h"

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <vector>

class QPagedPaintDevice;

namespace report
{

struct Row {
    QString name;
    QString value;
    bool heading = false; // a sub-heading inside a table ("Digital Display #1")
};

class ReportWriter
{
public:
    static constexpr qreal kPageW = 841.89; // A4 landscape, points
    static constexpr qreal kPageH = 595.28;
    static constexpr qreal kMargin = 36.0;
    static constexpr qreal kRowH = 13.0;
    static constexpr qreal kTop = 76.0; // below the page heading
    static constexpr qreal kBottom = kPageH - kMargin - 14.0;

    // `totalPages` is the number of pages the footers count to, 0 when not yet known.
    ReportWriter(QPagedPaintDevice &device, const QString &footer, int totalPages = 0);
    bool isActive() const { return m_painter.isActive(); }
    bool finish();

    QPainter &painter() { return m_painter; }
    Result &result() { return m_result; }

    // Starts a page (the first call uses the first page) with a heading.
    void page(const QString &heading);
    void text(const QRectF &box, int flags, const QString &text, qreal size = 9, bool bold = false);
    // Rows from `from` on as a table in `box`, as many as fit; returns the index of the
    // first row left over. A value too wide for its column goes on a line of its own
    // under the name; `used` receives the height the rows took.
    int table(const QRectF &box, const std::vector<Row> &rows, size_t from, qreal nameWidth, qreal *used = nullptr);
    // Rows under a section heading, flowing over the two columns of as many pages as
    // they need (pages headed `pageHeading`); the next call goes on below them.
    void flow(const QString &pageHeading, const QString &section, const std::vector<Row> &rows);
    // An XY chart of `points` with its axis titles.
    void chart(const QRectF &box, const std::vector<QPointF> &points, const QString &xTitle, const QString &yTitle);

private:
    void axis(const QRectF &plot, double low, double high, bool horizontal, const QString &title);
    QRectF flowColumn() const;
    qreal rowHeight(const Row &row, qreal valueWidth) const;

    QPagedPaintDevice &m_device;
    QPainter m_painter;
    QString m_footer;
    int m_totalPages = 0;
    Result m_result;
    // The flow position: column 0 or 1 and the height used in it.
    int m_column = 0;
    qreal m_y = kTop;
    bool m_flowing = false;
};

} // namespace report
