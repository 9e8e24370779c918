// The main window's content in a scroll area that asks for the content's whole designed
// size: on a screen large enough the window shows the layout as designed, with no scroll
// bars and no frame; on a smaller screen the content scrolls, and a control that takes the
// focus (by Tab, a mnemonic or a screen reader) is scrolled into view.
#pragma once

#include <QScrollArea>

class FittingScrollArea : public QScrollArea
{
public:
    FittingScrollArea(QWidget *content, QWidget *parent);
    QSize sizeHint() const override;
    // The content's own minimum, which the scroll area does not impose on the window.
    QSize designedMinimum() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The content fills what the scroll area shows, and is never smaller than its minimum:
    // where the window is smaller, the designed layout scrolls.
    void fitContent();
};
