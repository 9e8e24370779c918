#include "ui/editor/BrevoFace.h"

#include "ui/editor/FaceColors.h"
#include "ui/editor/FacePicture.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <cmath>

namespace
{

// Everything is laid out in design units on a 640 x 400 face and scaled to the widget.
constexpr qreal kDesignW = 640.0;
constexpr qreal kDesignH = 400.0;
constexpr qreal kWordPx = 13.0;

const QRectF kLcd(36, 28, 568, 318);
const QRectF kDigital[3] = {QRectF(196, 40, 248, 78), QRectF(196, 158, 248, 78), QRectF(196, 252, 248, 78)};
const QRectF kBarBody[2] = {QRectF(56, 66, 34, 228), QRectF(550, 66, 34, 228)};
const QRectF kBarText[2] = {QRectF(40, 318, 66, 24), QRectF(534, 318, 66, 24)};
// Level of the sample reading each bar shows, so that both modes can be told apart.
constexpr qreal kBarLevel[2] = {0.62, 0.38};
constexpr int kBarSegments = 20;
constexpr int kDigits = 4;

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
        p.setBrush((lit >> s) & 1 ? face::kInk : face::kGhost);
        p.drawPolygon(seg[s]);
    }
    p.restore();
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

} // namespace

BrevoFace::BrevoFace(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBrevo"));
    setAccessibleName(QStringLiteral("Corvane instrument picture"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFocusPolicy(Qt::NoFocus);

    using S = FacePicture::Shape;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;

    // Upper icons, right of digital display 1.
    lblSpeedU = makeWord("lblSpeedU", QStringLiteral("SPEED"), QStringLiteral("Upper SPEED icon"),
                         QRectF(454, 42, 84, 18), left);
    LblDepthU = makeWord("LblDepthU", QStringLiteral("DEPTH"), QStringLiteral("Upper DEPTH icon"),
                         QRectF(454, 61, 84, 18), left);
    lblRpmU =
        makeWord("lblRpmU", QStringLiteral("RPM"), QStringLiteral("Upper RPM icon"), QRectF(454, 80, 84, 18), left);
    LblDegU =
        makeWord("LblDegU", QStringLiteral("DEG."), QStringLiteral("Upper DEG. icon"), QRectF(454, 99, 84, 18), left);

    // NMEA row between digital displays 1 and 2.
    PicNmea1LArrow =
        makePicture(int(S::ArrowLeft), "PicNmea1LArrow", QStringLiteral("NMEA1 Left Arrow"), QRectF(150, 128, 26, 20));
    lblNmea1 =
        makeWord("lblNmea1", QStringLiteral("NMEA1"), QStringLiteral("NMEA1 icon"), QRectF(178, 126, 64, 24), centre);
    lblNmea2 =
        makeWord("lblNmea2", QStringLiteral("NMEA2"), QStringLiteral("NMEA2 icon"), QRectF(270, 126, 64, 24), centre);
    PicNmea2UArrow =
        makePicture(int(S::ArrowUp), "PicNmea2UArrow", QStringLiteral("NMEA2 Up Arrow"), QRectF(336, 127, 17, 22));
    PicNmea2DArrow =
        makePicture(int(S::ArrowDown), "PicNmea2DArrow", QStringLiteral("NMEA2 Down Arrow"), QRectF(355, 127, 17, 22));
    lblNmea3 =
        makeWord("lblNmea3", QStringLiteral("NMEA3"), QStringLiteral("NMEA3 icon"), QRectF(398, 126, 64, 24), centre);
    PicNmea3RArrow = makePicture(int(S::ArrowRight), "PicNmea3RArrow", QStringLiteral("NMEA3 Right Arrow"),
                                 QRectF(464, 128, 26, 20));

    // The two up arrows beside digital display 2.
    PicUpLeftArrow =
        makePicture(int(S::ArrowUp), "PicUpLeftArrow", QStringLiteral("Left Up Arrow"), QRectF(146, 170, 40, 54));
    PicUpRightArrow =
        makePicture(int(S::ArrowUp), "PicUpRightArrow", QStringLiteral("Right Up Arrow"), QRectF(454, 170, 40, 54));

    // Lower icons beside digital display 3.
    LblOil = makeWord("LblOil", QStringLiteral("OIL"), QStringLiteral("Lower Left OIL icon"), QRectF(104, 254, 84, 18),
                      right);
    LblSpeedLower = makeWord("LblSpeedLower", QStringLiteral("SPEED"), QStringLiteral("Lower Left SPEED icon"),
                             QRectF(104, 273, 84, 18), right);
    LblVdc = makeWord("LblVdc", QStringLiteral("VDC"), QStringLiteral("Lower Left VDC icon"), QRectF(104, 292, 84, 18),
                      right);
    LblTemp = makeWord("LblTemp", QStringLiteral("TEMP."), QStringLiteral("Lower Right TEMP. icon"),
                       QRectF(454, 254, 84, 18), left);
    LblFuel = makeWord("LblFuel", QStringLiteral("FUEL"), QStringLiteral("Lower Right FUEL icon"),
                       QRectF(454, 273, 84, 18), left);
    LblRpmLower = makeWord("LblRpmLower", QStringLiteral("RPM"), QStringLiteral("Lower Right RPM icon"),
                           QRectF(454, 292, 84, 18), left);
    LblDepthLower = makeWord("LblDepthLower", QStringLiteral("DEPTH"), QStringLiteral("Lower Right DEPTH icon"),
                             QRectF(454, 311, 84, 18), left);

    // Pointer marks above and below each bar graph.
    PicDisplay4PointerU = makePicture(int(S::PointerUp), "PicDisplay4PointerU",
                                      QStringLiteral("Left Bar Graph upper pointer mark"), QRectF(58, 46, 30, 16));
    PicDisplay4PointerD = makePicture(int(S::PointerDown), "PicDisplay4PointerD",
                                      QStringLiteral("Left Bar Graph lower pointer mark"), QRectF(58, 298, 30, 16));
    PicDisplay5PointerU = makePicture(int(S::PointerUp), "PicDisplay5PointerU",
                                      QStringLiteral("Right Bar Graph upper pointer mark"), QRectF(552, 46, 30, 16));
    PicDisplay5PointerD = makePicture(int(S::PointerDown), "PicDisplay5PointerD",
                                      QStringLiteral("Right Bar Graph lower pointer mark"), QRectF(552, 298, 30, 16));

    // Highlights last, so that they lie on top of everything else.
    PicDisplay1Blank = makePicture(int(S::Highlight), "PicDisplay1Blank",
                                   QStringLiteral("Digital Display #1 highlight"), kDigital[0].adjusted(-6, -6, 6, 6));
    PicDisplay2Blank = makePicture(int(S::Highlight), "PicDisplay2Blank",
                                   QStringLiteral("Digital Display #2 highlight"), kDigital[1].adjusted(-6, -6, 6, 6));
    PicDisplay3Blank = makePicture(int(S::Highlight), "PicDisplay3Blank",
                                   QStringLiteral("Digital Display #3 highlight"), kDigital[2].adjusted(-6, -6, 6, 6));
    PicDisplay4Blank = makePicture(int(S::Highlight), "PicDisplay4Blank",
                                   QStringLiteral("Left Bar Graph Display highlight"), QRectF(44, 40, 58, 304));
    PicDisplay5Blank = makePicture(int(S::Highlight), "PicDisplay5Blank",
                                   QStringLiteral("Right Bar Graph Display highlight"), QRectF(538, 40, 58, 304));
    PicDisplayBarLimitBlank = makePicture(int(S::Highlight), "PicDisplayBarLimitBlank",
                                          QStringLiteral("Bar limit highlight"), QRectF(44, 40, 58, 28));
    for (FacePicture *h : {PicDisplay1Blank, PicDisplay2Blank, PicDisplay3Blank, PicDisplay4Blank, PicDisplay5Blank,
                           PicDisplayBarLimitBlank})
        h->hide();

    updateDescription();
    layoutOverlays();
}

QLabel *BrevoFace::makeWord(const char *name, const QString &text, const QString &accessible, const QRectF &design,
                            Qt::Alignment align)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessible);
    label->setAlignment(align);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, face::kInk);
    label->setPalette(pal);
    label->setFont(wordFont(kWordPx));
    m_placed.push_back({label, design, kWordPx});
    return label;
}

FacePicture *BrevoFace::makePicture(int shape, const char *name, const QString &accessible, const QRectF &design)
{
    auto *pic = new FacePicture(FacePicture::Shape(shape), QLatin1String(name), accessible, this);
    m_placed.push_back({pic, design, 0});
    return pic;
}

QWidget *BrevoFace::element(const QString &name) const
{
    return findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

QString BrevoFace::sourceTextFor(int code)
{
    if (code == 0)
        return QString();
    if (code >= 23 && code <= 30) {
        const int s = code - 23;
        return QString::number(s / 2 + 1) + (s % 2 ? QLatin1Char('B') : QLatin1Char('A'));
    }
    return QStringLiteral("C") + QString::number(code);
}

void BrevoFace::setSources(const std::array<int, 5> &codes)
{
    std::array<QString, 5> texts;
    for (size_t i = 0; i < 5; ++i)
        texts[i] = sourceTextFor(codes[i]);
    if (texts == m_sourceText)
        return;
    m_sourceText = texts;
    updateDescription();
    update();
}

void BrevoFace::setPointerMode(bool pointer)
{
    for (FacePicture *mark : {PicDisplay4PointerU, PicDisplay4PointerD, PicDisplay5PointerU, PicDisplay5PointerD})
        mark->setVisible(pointer);
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    updateDescription();
    update();
}

void BrevoFace::updateDescription()
{
    static const char *const names[5] = {"Digital display 1", "Digital display 2", "Digital display 3",
                                         "Left bar graph", "Right bar graph"};
    QStringList parts;
    for (size_t i = 0; i < 5; ++i)
        parts << QStringLiteral("%1: %2").arg(QLatin1String(names[i]),
                                              m_sourceText[i].isEmpty() ? QStringLiteral("none") : m_sourceText[i]);
    parts << (m_pointer ? QStringLiteral("bar graphs in pointer mode") : QStringLiteral("bar graphs as bar charts"));
    setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

QSize BrevoFace::sizeHint() const
{
    return QSize(int(kDesignW), int(kDesignH));
}

QSize BrevoFace::minimumSizeHint() const
{
    return QSize(int(kDesignW * 0.75), int(kDesignH * 0.75));
}

int BrevoFace::heightForWidth(int width) const
{
    return int(std::lround(width * kDesignH / kDesignW));
}

qreal BrevoFace::scale() const
{
    return qMin(width() / kDesignW, height() / kDesignH);
}

QPointF BrevoFace::origin() const
{
    const qreal s = scale();
    return QPointF((width() - kDesignW * s) / 2.0, (height() - kDesignH * s) / 2.0);
}

void BrevoFace::layoutOverlays()
{
    const qreal s = scale();
    const QPointF o = origin();
    for (const Placed &placed : m_placed) {
        const QRectF r(o.x() + placed.design.x() * s, o.y() + placed.design.y() * s, placed.design.width() * s,
                       placed.design.height() * s);
        placed.widget->setGeometry(r.toAlignedRect());
        if (placed.fontPx > 0)
            placed.widget->setFont(wordFont(placed.fontPx * s));
    }
}

void BrevoFace::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutOverlays();
}

void BrevoFace::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = scale();
    p.translate(origin());
    p.scale(s, s);

    paintBezel(p);
    for (int i = 0; i < 3; ++i)
        paintDigitalDisplay(p, kDigital[i], m_sourceText[size_t(i)]);
    paintBar(p, 0);
    paintBar(p, 1);
}

void BrevoFace::paintBezel(QPainter &p) const
{
    QLinearGradient bezel(0, 0, 0, kDesignH);
    bezel.setColorAt(0, face::kBezelTop);
    bezel.setColorAt(1, face::kBezelBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(0, 0, kDesignW, kDesignH), 34, 34);
    p.setPen(QPen(face::kBezelRim, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(9, 9, kDesignW - 18, kDesignH - 18), 27, 27);

    QLinearGradient lcd(0, kLcd.top(), 0, kLcd.bottom());
    lcd.setColorAt(0, face::kLcdTop);
    lcd.setColorAt(1, face::kLcdBottom);
    p.setPen(QPen(QColor(20, 22, 24), 3));
    p.setBrush(lcd);
    p.drawRoundedRect(kLcd, 12, 12);

    QFont brand;
    brand.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    brand.setWeight(QFont::Bold);
    brand.setPixelSize(20);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 7);
    p.setFont(brand);
    p.setPen(face::kBrand);
    p.drawText(QRectF(0, kLcd.bottom() + 6, kDesignW, kDesignH - kLcd.bottom() - 12), Qt::AlignCenter,
               QStringLiteral("CORVANE"));
}

void BrevoFace::paintDigitalDisplay(QPainter &p, const QRectF &r, const QString &text) const
{
    p.setPen(QPen(face::kWindowEdge, 1.5));
    p.setBrush(face::kWindowFill);
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

void BrevoFace::paintBar(QPainter &p, int bar) const
{
    const QRectF body = kBarBody[bar];
    const QString text = m_sourceText[size_t(3 + bar)];
    const bool active = !text.isEmpty();

    p.setPen(QPen(face::kWindowEdge, 1.5));
    p.setBrush(face::kWindowFill);
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
            lit = m_pointer ? (i == level - 1 || i == level - 2) : i < level;
        p.setBrush(lit ? face::kInk : face::kGhost);
        p.drawRect(seg);
    }

    // Scale ticks on the side that faces the digital displays.
    p.setPen(QPen(face::kInk, 1.5));
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
        p.setPen(face::kInk);
        p.drawText(kBarText[bar], Qt::AlignCenter, text);
    }
}
