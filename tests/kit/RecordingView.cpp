#include "kit/RecordingView.h"

bool RecordingView::called(const QString &name) const
{
    for (const QString &c : calls)
        if (c == name || c.startsWith(name + QLatin1Char(':')))
            return true;
    return false;
}

void RecordingView::showPortChooser()
{
    record("showPortChooser");
    chooserVisible = true;
    if (onShowPortChooser)
        onShowPortChooser();
}

void RecordingView::record(const char *name, const QString &arg)
{
    calls << (arg.isNull() ? QString::fromLatin1(name) : QString::fromLatin1(name) + QLatin1Char(':') + arg);
}
