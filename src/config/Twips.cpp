#include "config/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace twips {

int toPixels(int twipsValue, double logicalDpi)
{
    return int(std::lround(twipsValue * logicalDpi / 1440.0));
}

void placeWindow(QWidget *window, int topTwips, int leftTwips)
{
    if (!window)
        return;
    double dpi = 96.0;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    window->move(toPixels(leftTwips, dpi), toPixels(topTwips, dpi));
}

} // namespace twips
