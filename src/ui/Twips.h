// Window positions: design positions and sizes in twips (1440 per logical inch) converted to pixels, and
// placing a window beside the one that opened it.
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace twips
{
// Logical pixels for a twips value at the given logical DPI (96 when unknown).
int toPixels(int twipsValue, double logicalDpi = 96.0);
// Moves a top-level window so that its top-left corner is at (left, top) twips.
void placeWindow(QWidget *window, int topTwips, int leftTwips);

// Where a window opens beside another, in global coordinates: next to `anchor`, its top
// level with `top` where the screen allows, covering none of `keepClear`.
struct Beside {
    QRect anchor;
    int top = 0;
    QList<QRect> keepClear;
};
// Moves a top-level window beside the anchor: to its right, else to its left, else below
// it, else above it; the first of these places that lies wholly on the anchor's screen and
// covers none of the keep-clear rectangles. When none does (a small screen), the window
// goes to the one of these places, moved onto the screen, that covers least of them.
void placeBeside(QWidget *window, const Beside &where);
// A widget's rectangle in global coordinates (a top-level window's with its frame).
QRect globalRect(const QWidget *widget);
// The frame around a window's contents. A window that has never been shown has none yet:
// it will get one like the application's other windows.
QMargins frameMargins(const QWidget *window);
} // namespace twips
