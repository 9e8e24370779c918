#include "ui/editor/FittingScrollArea.h"

#include <QApplication>
#include <QScrollBar>

FittingScrollArea::FittingScrollArea(QWidget *content, QWidget *parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("scrMain"));
    setAccessibleName(QStringLiteral("Display configurations"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus); // no tab stop of its own: Tab goes to the controls
    setWidget(content);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && widget() && widget()->isAncestorOf(now))
            ensureWidgetVisible(now, 8, 8);
    });
}

QSize FittingScrollArea::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
}

QSize FittingScrollArea::designedMinimum() const
{
    const int frame = 2 * frameWidth();
    return widget() ? widget()->minimumSizeHint() + QSize(frame, frame) : QSize();
}

void FittingScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitContent();
}

void FittingScrollArea::fitContent()
{
    if (!widget())
        return;
    const QSize minimum = widget()->minimumSizeHint();
    const QSize area = contentsRect().size();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    bool across = minimum.width() > area.width();
    const bool down = minimum.height() > area.height() - (across ? barHeight : 0);
    across = minimum.width() > area.width() - (down ? barWidth : 0);
    const QSize shown = area - QSize(down ? barWidth : 0, across ? barHeight : 0);
    widget()->resize(shown.expandedTo(minimum));
}
