// Converts design positions and sizes in twips (1440 per logical inch) to pixels.
#pragma once

#include <QPoint>

class QWidget;

namespace twips {
// Logical pixels for a twips value at the given logical DPI (96 when unknown).
int toPixels(int twipsValue, double logicalDpi = 96.0);
// Moves a top-level window so that its top-left corner is at (left, top) twips.
void placeWindow(QWidget *window, int topTwips, int leftTwips);
} // namespace twips
