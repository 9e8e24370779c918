// The painted face of the Corvane: the one painter behind the main window's picture,
// the report and the exported pictures. Everything is laid out in design units on a
// 640 x 400 face; a painter scaled to any size paints it as vectors.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

class QPainter;
struct ConfigImage;

namespace face
{

constexpr qreal kDesignW = 640.0;
constexpr qreal kDesignH = 400.0;
constexpr qreal kWordPx = 13.0; // icon words, in design units

enum class Shape { Word, ArrowLeft, ArrowRight, ArrowUp, ArrowDown, PointerUp, PointerDown, Highlight };

// One element laid over the face: an icon word or arrow, a pointer mark of a bar
// graph or the highlight of a display, by its designed name.
struct Element {
    const char *name;
    Shape shape;
    const char *word; // the text of a word, else nullptr
    const char *accessible;
    QRectF design;
    Qt::Alignment align;
};

// In painting order: icons, pointer marks, then the highlights on top.
const std::vector<Element> &elements();
const Element *element(const QString &name);

// What a display shows for a data-source code: "1A" .. "4B", "C15" for another
// source, empty for none.
QString sourceText(int code);

// What the face shows: the five displays' texts (digital 1..3, left bar, right bar),
// bar chart or pointer mode, and which elements are visible.
struct FaceState {
    std::array<QString, 5> sources;
    bool pointer = true;
    std::vector<QString> visible; // element names
};

// The face of display configuration `config` (1..16) of an image: its lit icons, its
// sources and the bar graph type of the system block; no highlight.
FaceState stateOf(const ConfigImage &image, int config);

QFont wordFont(qreal px);

// The face without its elements, in design units (the painter is scaled by the caller).
void paintBase(QPainter &p, const std::array<QString, 5> &sources, bool pointer);
// One element inside `box` (in the painter's units); a word in a `fontPx` font.
void paintElement(QPainter &p, const Element &element, const QRectF &box, qreal fontPx = kWordPx);
// The whole face of `state`, scaled to fit `target` and centred in it.
void paintFace(QPainter &p, const QRectF &target, const FaceState &state);

} // namespace face
