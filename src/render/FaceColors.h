// Colours of the painted instrument face: the editor's picture, the report and the exported pictures.
#pragma once

#include <QColor>

namespace face
{
inline const QColor kInk(28, 34, 26);      // lit segments and icon words
inline const QColor kGhost(178, 190, 165); // unlit segments
inline const QColor kLcdTop(214, 222, 202);
inline const QColor kLcdBottom(186, 198, 173);
inline const QColor kWindowFill(198, 208, 186); // inset of a digital display
inline const QColor kWindowEdge(140, 152, 128);
inline const QColor kBezelTop(78, 84, 92);
inline const QColor kBezelBottom(30, 33, 37);
inline const QColor kBezelRim(104, 112, 121);
inline const QColor kBrand(205, 210, 215);
inline const QColor kHighlightFill(255, 196, 0, 90);
inline const QColor kHighlightEdge(225, 140, 0);
} // namespace face
