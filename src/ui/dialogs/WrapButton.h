// A narrow push button whose caption wraps onto several lines, as the sender window's designed buttons show theirs.
#pragma once

#include <QPushButton>

class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    // `widthTwips` is the designed width; the button grows when a word would not fit.
    // The button is two lines high.
    WrapButton(const QString &caption, int widthTwips, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The caption keeps its designed blanks; on screen they would only push the
    // words apart, so the shown text has them collapsed.
    QString shownText() const { return text().simplified(); }
    int widestWord() const;

    int m_widthTwips;
};
