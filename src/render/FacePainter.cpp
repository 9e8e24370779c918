#include "render/FacePainter.h"

#include "core/ConfigImage.h"
#include "core/DisplayTable.h"
#include "core/IconTable.h"
#include "core/ImageLayout.h"
#include "render/FaceColors.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace face
{
namespace
{

const QRectF kLcd(36, 28, 568, 318);
const QRectF kDigital[3] = {QRectF(196, 40, 248, 78), QRectF(196, 158, 248, 78), QRectF(196, 252, 248, 78)};
const QRectF kBarBody[2] = {QRectF(56, 66, 34, 228), QRectF(550, 66, 34, 228)};
const QRectF kBarText[2] = {QRectF(40, 318, 66, 24), QRectF(534, 318, 66, 24)};
// Level of the sample reading each bar shows, so that both modes can be told apart.
constexpr qreal kBarLevel[2] = {0.62, 0.38};
constexpr int kBarSegments = 20;
constexpr int kDigits = 4;

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

// Seven-segment patterns, bits a..g = 0..6.
int segmentsFor(QChar c)
{
    switch (c.unicode()) {
    case '0':
        return 0x3F;
    case '1':
        return 0x06;
    case '2':
        return 0x5B;
    case '3':
        return 0x4F;
    case '4':
        return 0x66;
    case '5':
        return 0x6D;
    case '6':
        return 0x7D;
    case '7':
        return 0x07;
    case '8':
        return 0x7F;
    case '9':
        return 0x6F;
    case 'A':
        return 0x77;
    case 'B':
    case 'b':
        return 0x7C;
    case 'C':
        return 0x39;
    case '-':
        return 0x40;
    default:
        return 0;
    }
}

QPolygonF horizontal(qreal x0, qreal x1, qreal y, qreal t)
{
    return QPolygonF({{x0, y},
                      {x0 + t / 2, y - t / 2},
                      {x1 - t / 2, y - t / 2},
                      {x1, y},
                      {x1 - t / 2, y + t / 2},
                      {x0 + t / 2, y + t / 2}});
}

QPolygonF vertical(qreal x, qreal y0, qreal y1, qreal t)
{
    return QPolygonF({{x, y0},
                      {x + t / 2, y0 + t / 2},
                      {x + t / 2, y1 - t / 2},
                      {x, y1},
                      {x - t / 2, y1 - t / 2},
                      {x - t / 2, y0 + t / 2}});
}

// One digit cell: unlit segments in the ghost colour, lit ones in ink, leaning slightly like LCD digits.
void paintDigit(QPainter &p, const QRectF &cell, int lit)
{
    const qreal t = cell.width() * 0.2;
    const qreal g = t * 0.22;
    const qreal x0 = t / 2, x1 = cell.width() - t / 2;
    const qreal y0 = t / 2, y1 = cell.height() - t / 2, ym = (y0 + y1) / 2;
    const QPolygonF seg[7] = {
        horizontal(x0 + g, x1 - g, y0, t), vertical(x1, y0 + g, ym - g, t), vertical(x1, ym + g, y1 - g, t),
        horizontal(x0 + g, x1 - g, y1, t), vertical(x0, ym + g, y1 - g, t), vertical(x0, y0 + g, ym - g, t),
        horizontal(x0 + g, x1 - g, ym, t),
    };
    p.save();
    p.translate(cell.left(), cell.bottom());
    p.shear(-0.08, 0);
    p.translate(0, -cell.height());
    p.setPen(Qt::NoPen);
    for (int s = 0; s < 7; ++s) {
        p.setBrush((lit >> s) & 1 ? kInk : kGhost);
        p.drawPolygon(seg[s]);
    }
    p.restore();
}

void paintBezel(QPainter &p)
{
    QLinearGradient bezel(0, 0, 0, kDesignH);
    bezel.setColorAt(0, kBezelTop);
    bezel.setColorAt(1, kBezelBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(0, 0, kDesignW, kDesignH), 34, 34);
    p.setPen(QPen(kBezelRim, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(9, 9, kDesignW - 18, kDesignH - 18), 27, 27);

    QLinearGradient lcd(0, kLcd.top(), 0, kLcd.bottom());
    lcd.setColorAt(0, kLcdTop);
    lcd.setColorAt(1, kLcdBottom);
    p.setPen(QPen(QColor(20, 22, 24), 3));
    p.setBrush(lcd);
    p.drawRoundedRect(kLcd, 12, 12);

    QFont brand;
    brand.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    brand.setWeight(QFont::Bold);
    brand.setPixelSize(20);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 7);
    p.setFont(brand);
    p.setPen(kBrand);
    p.drawText(QRectF(0, kLcd.bottom() + 6, kDesignW, kDesignH - kLcd.bottom() - 12), Qt::AlignCenter,
               QStringLiteral("CORVANE"));
}

void paintDigitalDisplay(QPainter &p, const QRectF &r, const QString &text)
{
    p.setPen(QPen(kWindowEdge, 1.5));
    p.setBrush(kWindowFill);
    p.drawRoundedRect(r, 5, 5);

    // Four digit cells, the text right-aligned as the instrument shows numbers.
    const qreal padX = 16, padY = 10, gap = 12;
    const qreal cellW = (r.width() - 2 * padX - (kDigits - 1) * gap) / kDigits;
    const qreal cellH = r.height() - 2 * padY;
    const QString shown = text.right(kDigits).rightJustified(kDigits, QLatin1Char(' '));
    for (int i = 0; i < kDigits; ++i) {
        const QRectF cell(r.left() + padX + i * (cellW + gap), r.top() + padY, cellW, cellH);
        paintDigit(p, cell, segmentsFor(shown.at(i)));
    }
}

void paintBar(QPainter &p, int bar, const QString &text, bool pointer)
{
    const QRectF body = kBarBody[bar];
    const bool active = !text.isEmpty();

    p.setPen(QPen(kWindowEdge, 1.5));
    p.setBrush(kWindowFill);
    p.drawRoundedRect(body.adjusted(-4, -4, 4, 4), 4, 4);

    // Segments from the bottom up: filled to the reading as a bar chart, or a two-segment pointer.
    const qreal gap = 2.5;
    const qreal segH = (body.height() - (kBarSegments - 1) * gap) / kBarSegments;
    const int level = int(std::lround(kBarLevel[bar] * kBarSegments));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kBarSegments; ++i) {
        const QRectF seg(body.left(), body.bottom() - (i + 1) * segH - i * gap, body.width(), segH);
        bool lit = false;
        if (active)
            lit = pointer ? (i == level - 1 || i == level - 2) : i < level;
        p.setBrush(lit ? kInk : kGhost);
        p.drawRect(seg);
    }

    // Scale ticks on the side that faces the digital displays.
    p.setPen(QPen(kInk, 1.5));
    const qreal tickX = bar == 0 ? body.right() + 7 : body.left() - 7;
    const qreal tickLen = bar == 0 ? 7 : -7;
    for (int t = 0; t <= 4; ++t) {
        const qreal y = body.bottom() - t * body.height() / 4.0;
        p.drawLine(QPointF(tickX, y), QPointF(tickX + tickLen, y));
    }

    if (active) {
        QFont f;
        f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
        f.setWeight(QFont::Black);
        f.setPixelSize(16);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(kBarText[bar], Qt::AlignCenter, text);
    }
}

// An arrow pointing up inside a w x h box; other directions are rotations of it.
QPainterPath upArrow(qreal w, qreal h)
{
    const qreal head = h * 0.52;
    const qreal stem = w * 0.38;
    QPainterPath path;
    path.moveTo(w / 2.0, 0);
    path.lineTo(w, head);
    path.lineTo((w + stem) / 2.0, head);
    path.lineTo((w + stem) / 2.0, h);
    path.lineTo((w - stem) / 2.0, h);
    path.lineTo((w - stem) / 2.0, head);
    path.lineTo(0, head);
    path.closeSubpath();
    return path;
}

void paintArrow(QPainter &p, Shape shape, qreal w, qreal h, qreal m)
{
    // Draw an up arrow in a box turned to the wanted direction.
    const bool sideways = shape == Shape::ArrowLeft || shape == Shape::ArrowRight;
    const qreal bw = (sideways ? h : w) - 2 * m;
    const qreal bh = (sideways ? w : h) - 2 * m;
    p.translate(w / 2, h / 2);
    if (shape == Shape::ArrowDown)
        p.rotate(180);
    else if (shape == Shape::ArrowLeft)
        p.rotate(-90);
    else if (shape == Shape::ArrowRight)
        p.rotate(90);
    p.translate(-bw / 2, -bh / 2);
    p.fillPath(upArrow(bw, bh), kInk);
}

std::vector<Element> buildElements()
{
    const auto highlight = [](int i) { return kDigital[i].adjusted(-6, -6, 6, 6); };
    // clang-format off
    return {
        // Upper icons, right of digital display 1.
        {"lblSpeedU", Shape::Word, "SPEED", "Upper SPEED icon", QRectF(454, 42, 84, 18), kLeft},
        {"LblDepthU", Shape::Word, "DEPTH", "Upper DEPTH icon", QRectF(454, 61, 84, 18), kLeft},
        {"lblRpmU", Shape::Word, "RPM", "Upper RPM icon", QRectF(454, 80, 84, 18), kLeft},
        {"LblDegU", Shape::Word, "DEG.", "Upper DEG. icon", QRectF(454, 99, 84, 18), kLeft},
        // NMEA row between digital displays 1 and 2.
        {"PicNmea1LArrow", Shape::ArrowLeft, nullptr, "NMEA1 Left Arrow", QRectF(150, 128, 26, 20), kCentre},
        {"lblNmea1", Shape::Word, "NMEA1", "NMEA1 icon", QRectF(178, 126, 64, 24), kCentre},
        {"lblNmea2", Shape::Word, "NMEA2", "NMEA2 icon", QRectF(270, 126, 64, 24), kCentre},
        {"PicNmea2UArrow", Shape::ArrowUp, nullptr, "NMEA2 Up Arrow", QRectF(336, 127, 17, 22), kCentre},
        {"PicNmea2DArrow", Shape::ArrowDown, nullptr, "NMEA2 Down Arrow", QRectF(355, 127, 17, 22), kCentre},
        {"lblNmea3", Shape::Word, "NMEA3", "NMEA3 icon", QRectF(398, 126, 64, 24), kCentre},
        {"PicNmea3RArrow", Shape::ArrowRight, nullptr, "NMEA3 Right Arrow", QRectF(464, 128, 26, 20), kCentre},
        // The two up arrows beside digital display 2.
        {"PicUpLeftArrow", Shape::ArrowUp, nullptr, "Left Up Arrow", QRectF(146, 170, 40, 54), kCentre},
        {"PicUpRightArrow", Shape::ArrowUp, nullptr, "Right Up Arrow", QRectF(454, 170, 40, 54), kCentre},
        // Lower icons beside digital display 3.
        {"LblOil", Shape::Word, "OIL", "Lower Left OIL icon", QRectF(104, 254, 84, 18), kRight},
        {"LblSpeedLower", Shape::Word, "SPEED", "Lower Left SPEED icon", QRectF(104, 273, 84, 18), kRight},
        {"LblVdc", Shape::Word, "VDC", "Lower Left VDC icon", QRectF(104, 292, 84, 18), kRight},
        {"LblTemp", Shape::Word, "TEMP.", "Lower Right TEMP. icon", QRectF(454, 254, 84, 18), kLeft},
        {"LblFuel", Shape::Word, "FUEL", "Lower Right FUEL icon", QRectF(454, 273, 84, 18), kLeft},
        {"LblRpmLower", Shape::Word, "RPM", "Lower Right RPM icon", QRectF(454, 292, 84, 18), kLeft},
        {"LblDepthLower", Shape::Word, "DEPTH", "Lower Right DEPTH icon", QRectF(454, 311, 84, 18), kLeft},
        // Pointer marks above and below each bar graph.
        {"PicDisplay4PointerU", Shape::PointerUp, nullptr, "Left Bar Graph upper pointer mark", QRectF(58, 46, 30, 16), kCentre},
        {"PicDisplay4PointerD", Shape::PointerDown, nullptr, "Left Bar Graph lower pointer mark", QRectF(58, 298, 30, 16), kCentre},
        {"PicDisplay5PointerU", Shape::PointerUp, nullptr, "Right Bar Graph upper pointer mark", QRectF(552, 46, 30, 16), kCentre},
        {"PicDisplay5PointerD", Shape::PointerDown, nullptr, "Right Bar Graph lower pointer mark", QRectF(552, 298, 30, 16), kCentre},
        // Highlights last, so that they lie on top of everything else.
        {"PicDisplay1Blank", Shape::Highlight, nullptr, "Digital Display #1 highlight", highlight(0), kCentre},
        {"PicDisplay2Blank", Shape::Highlight, nullptr, "Digital Display #2 highlight", highlight(1), kCentre},
        {"PicDisplay3Blank", Shape::Highlight, nullptr, "Digital Display #3 highlight", highlight(2), kCentre},
        {"PicDisplay4Blank", Shape::Highlight, nullptr, "Left Bar Graph Display highlight", QRectF(44, 40, 58, 304), kCentre},
        {"PicDisplay5Blank", Shape::Highlight, nullptr, "Right Bar Graph Display highlight", QRectF(538, 40, 58, 304), kCentre},
        {"PicDisplayBarLimitBlank", Shape::Highlight, nullptr, "Bar limit highlight", QRectF(44, 40, 58, 28), kCentre},
    };
    // clang-format on
}

const char *const kPointerMarks[4] = {"PicDisplay4PointerU", "PicDisplay4PointerD", "PicDisplay5PointerU",
                                      "PicDisplay5PointerD"};

} // namespace

const std::vector<Element> &elements()
{
    static const std::vector<Element> table = buildElements();
    return table;
}

const Element *element(const QString &name)
{
    for (const Element &e : elements())
        if (name == QLatin1String(e.name))
            return &e;
    return nullptr;
}

QString sourceText(int code)
{
    if (code == 0)
        return QString();
    if (code >= 23 && code <= 30) {
        const int s = code - 23;
        return QString::number(s / 2 + 1) + (s % 2 ? QLatin1Char('B') : QLatin1Char('A'));
    }
    return QStringLiteral("C") + QString::number(code);
}

FaceState stateOf(const ConfigImage &image, int config)
{
    FaceState state;
    if (config < 1 || config > 16)
        return state;
    for (size_t i = 0; i < displays::kCount; ++i)
        state.sources[i] = sourceText(image.blocks[config][displays::kDisplays[i].codeByte]);
    state.pointer = !(image.system[layout::kDisplayFlags] & layout::kBarChartBit);
    for (const icons::IconDef &icon : icons::kIcons)
        if (image.blocks[config][icon.byte] & (1u << icon.bit))
            state.visible.push_back(QLatin1String(icon.element));
    if (state.pointer)
        for (const char *mark : kPointerMarks)
            state.visible.push_back(QLatin1String(mark));
    return state;
}

QFont wordFont(qreal px)
{
    QFont f;
    f.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")});
    f.setWeight(QFont::Black);
    f.setPixelSize(qMax(6, int(std::lround(px))));
    return f;
}

void paintBase(QPainter &p, const std::array<QString, 5> &sources, bool pointer)
{
    paintBezel(p);
    for (int i = 0; i < 3; ++i)
        paintDigitalDisplay(p, kDigital[i], sources[size_t(i)]);
    paintBar(p, 0, sources[3], pointer);
    paintBar(p, 1, sources[4], pointer);
}

void paintElement(QPainter &p, const Element &element, const QRectF &box, qreal fontPx)
{
    p.save();
    p.translate(box.topLeft());
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal m = qMax<qreal>(1.0, qMin(w, h) * 0.06); // margin keeps the edges off the box
    switch (element.shape) {
    case Shape::Word:
        p.setFont(wordFont(fontPx));
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, w, h), element.align, QLatin1String(element.word));
        break;
    case Shape::Highlight: {
        const qreal pen = qMax<qreal>(2.0, qMin(w, h) / 30.0);
        p.setPen(QPen(kHighlightEdge, pen));
        p.setBrush(kHighlightFill);
        p.drawRoundedRect(QRectF(pen / 2, pen / 2, w - pen, h - pen), pen * 2, pen * 2);
        break;
    }
    case Shape::PointerUp:
    case Shape::PointerDown: {
        QPainterPath tri;
        if (element.shape == Shape::PointerUp) {
            tri.moveTo(w / 2, m);
            tri.lineTo(w - m, h - m);
            tri.lineTo(m, h - m);
        } else {
            tri.moveTo(m, m);
            tri.lineTo(w - m, m);
            tri.lineTo(w / 2, h - m);
        }
        tri.closeSubpath();
        p.fillPath(tri, kInk);
        break;
    }
    default:
        paintArrow(p, element.shape, w, h, m);
        break;
    }
    p.restore();
}

void paintFace(QPainter &p, const QRectF &target, const FaceState &state)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = qMin(target.width() / kDesignW, target.height() / kDesignH);
    p.translate(target.left() + (target.width() - kDesignW * s) / 2.0,
                target.top() + (target.height() - kDesignH * s) / 2.0);
    p.scale(s, s);
    paintBase(p, state.sources, state.pointer);
    for (const Element &e : elements())
        if (std::find(state.visible.begin(), state.visible.end(), QLatin1String(e.name)) != state.visible.end())
            paintElement(p, e, e.design);
    p.restore();
}

} // namespace face
