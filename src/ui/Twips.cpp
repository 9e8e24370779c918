#include "ui/Twips.h"

#include <QApplication>
#include <QEvent>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace twips
{

int toPixels(int twipsValue, double logicalDpi)
{
    return int(std::lround(twipsValue * logicalDpi / 1440.0));
}

void placeWindow(QWidget *window, int topTwips, int leftTwips)
{
    if (!window)
        return;
    double dpi = 96.0;
    if (QScreen *screen = QApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    window->move(toPixels(leftTwips, dpi), toPixels(topTwips, dpi));
}

QRect globalRect(const QWidget *widget)
{
    if (widget->isWindow())
        return widget->frameGeometry();
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// The frame around a window's contents. A window that has never been shown has none yet:
// it will get one like the application's other windows.
QMargins frameMargins(const QWidget *window)
{
    auto margins = [](const QWidget *w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    if (!margins(window).isNull())
        return margins(window);
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (other->isVisible() && !margins(other).isNull())
            return margins(other);
    return QMargins();
}

namespace
{

constexpr int kGap = 8; // pixels between the anchor and the window placed beside it

// The size the window takes on screen, its frame included.
QSize frameSize(QWidget *window)
{
    const bool sized = window->isVisible() || window->testAttribute(Qt::WA_Resized);
    const QSize size = sized ? window->size() : window->sizeHint();
    const QMargins frame = frameMargins(window);
    return size + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

bool frameKnown(const QWidget *window)
{
    return window->frameGeometry() != window->geometry();
}

const char *const kFrameCorrection = "frameCorrection";

// Moves a window's frame to its place once more when the window has got its frame: until
// then some windows take a move as the place of their contents (a tool dialog on X11 opens
// a title bar higher than asked).
class FrameCorrection : public QObject
{
public:
    FrameCorrection(QWidget *window, const QPoint &at) : QObject(window), m_at(at)
    {
        setObjectName(QLatin1String(kFrameCorrection));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        auto *window = static_cast<QWidget *>(watched);
        if (type == QEvent::Hide) {
            // A window without a frame (or a platform that shows none) never needs it.
            deleteLater();
            window->removeEventFilter(this);
            return false;
        }
        if (type != QEvent::Move && type != QEvent::Show && type != QEvent::Resize)
            return false;
        if (window->isVisible() && frameKnown(window)) {
            deleteLater();
            window->removeEventFilter(this);
            if (window->frameGeometry().topLeft() != m_at)
                window->move(m_at);
        }
        return false;
    }

private:
    QPoint m_at;
};

// Puts the top-left corner of the window's frame at `at`.
void moveFrame(QWidget *window, const QPoint &at)
{
    delete window->findChild<QObject *>(QLatin1String(kFrameCorrection), Qt::FindDirectChildrenOnly);
    window->move(at);
    if (!frameKnown(window))
        new FrameCorrection(window, at);
}

int clamp(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

} // namespace

void placeBeside(QWidget *window, const Beside &where)
{
    if (!window)
        return;
    QScreen *screen = QApplication::screenAt(where.anchor.center());
    if (!screen)
        screen = QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = frameSize(window);
    const QRect &a = where.anchor;
    // Beside the anchor the top may move to keep the window on the screen; above and below
    // it the left edge may.
    const int top = clamp(where.top, area.top(), area.bottom() + 1 - size.height());
    const int left = clamp(a.left(), area.left(), area.right() + 1 - size.width());
    const QRect places[] = {
        QRect(QPoint(a.right() + 1 + kGap, top), size),
        QRect(QPoint(a.left() - kGap - size.width(), top), size),
        QRect(QPoint(left, a.bottom() + 1 + kGap), size),
        QRect(QPoint(left, a.top() - kGap - size.height()), size),
    };
    for (const QRect &place : places) {
        const bool clear = std::none_of(where.keepClear.begin(), where.keepClear.end(),
                                        [&](const QRect &r) { return place.intersects(r); });
        if (clear && area.contains(place)) {
            moveFrame(window, place.topLeft());
            return;
        }
    }
    // No place is clear on this screen: the one, moved onto the screen, that covers least.
    const auto covered = [&](const QRect &place) {
        qint64 sum = 0;
        for (const QRect &r : where.keepClear) {
            const QRect both = place.intersected(r);
            sum += qint64(both.width()) * both.height();
        }
        return sum;
    };
    QRect best;
    qint64 least = -1;
    for (const QRect &place : places) {
        const QRect onScreen(QPoint(clamp(place.left(), area.left(), area.right() + 1 - size.width()),
                                    clamp(place.top(), area.top(), area.bottom() + 1 - size.height())),
                             size);
        if (least < 0 || covered(onScreen) < least) {
            least = covered(onScreen);
            best = onScreen;
        }
    }
    moveFrame(window, best.topLeft());
}

} // namespace twips
