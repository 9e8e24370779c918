#include "ui/dialogs/WrapButton.h"

#include "ui/Twips.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace
{
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
constexpr int kTextPadding = 2; // pixels left and right of the longest word
} // namespace

WrapButton::WrapButton(const QString &caption, int widthTwips, QWidget *parent)
    : QPushButton(caption, parent), m_widthTwips(widthTwips)
{
    setAccessibleName(caption.simplified());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int WrapButton::widestWord() const
{
    const QFontMetrics fm = fontMetrics();
    int widest = 0;
    for (const QString &word : shownText().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widest = qMax(widest, fm.horizontalAdvance(word));
    return widest;
}

QSize WrapButton::sizeHint() const
{
    ensurePolished();
    // Every button of a row is two lines high, whether its caption wraps or not.
    const QSize contents(widestWord() + 2 * kTextPadding, 2 * fontMetrics().lineSpacing());
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize size = style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
    return QSize(qMax(size.width(), twips::toPixels(m_widthTwips)), size.height());
}

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(contents, kTextFlags, option.palette, isEnabled(), shownText(), QPalette::ButtonText);
}
