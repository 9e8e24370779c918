#include "cli/TerminalView.h"

#include "core/InstrumentValues.h"

#include "cli/Console.h"

#include <algorithm>

namespace
{
constexpr int kBarWidth = 30;
constexpr int kNarrowestBar = 5;
} // namespace

QString TerminalView::bar(const QString &task, int value, int maximum, int width)
{
    const int top = std::max(1, maximum);
    const int v = std::clamp(value, 0, top);
    const QString count = QStringLiteral(" %1/%2").arg(v, 3).arg(top);
    const int barWidth = std::min(kBarWidth, width - int(task.size() + count.size()) - 4);
    if (barWidth < kNarrowestBar)
        return (task + count).right(width);
    const int filled = v * barWidth / top;
    return QStringLiteral("%1  [%2%3]%4")
        .arg(task, QString(filled, QLatin1Char('#')), QString(barWidth - filled, QLatin1Char('.')), count);
}

void TerminalView::linkStatusChanged(LinkStatus status)
{
    const QString text = linkStatusText(status);
    // Said once per change: the operations set the label again as they end.
    if (text.compare(m_connected, Qt::CaseInsensitive) == 0)
        return;
    m_connected = text;
    if (text == QLatin1String("Connected to Corvane"))
        m_console.note(text);
}

void TerminalView::identified(const InstrumentIdentity &identity)
{
    m_serialNumber = identity.serialNumber.trimmed();
    m_console.note((QStringLiteral(" Corvane SN#: ") + identity.serialNumber).trimmed());
}

QString TerminalView::attemptLine() const
{
    // The caption names the port by number; the user named it by --port. One dot per probe.
    return QStringLiteral("Attempting to connect to Corvane on ") + m_portName +
           QStringLiteral(" .").repeated(int(m_caption.count(QLatin1String(" ."))));
}

void TerminalView::showConnecting()
{
    m_connecting = true;
    m_console.status(attemptLine());
}

void TerminalView::hideConnecting()
{
    if (m_connecting)
        m_console.endStatus();
    m_connecting = false;
}

void TerminalView::setConnectingCaption(const QString &text)
{
    m_caption = text;
    // On a terminal the dots grow in place; in a log one line per attempt would be noise.
    if (m_connecting && m_console.errorIsTerminal())
        m_console.status(attemptLine());
}

void TerminalView::showProgress()
{
    m_progressShown = true;
    drawProgress();
}

void TerminalView::hideProgress()
{
    if (m_progressShown)
        m_console.endStatus();
    m_progressShown = false;
}

void TerminalView::setProgress(int value)
{
    m_value = value;
    drawProgress();
}

void TerminalView::setProgressMaximum(int maximum)
{
    m_maximum = maximum;
}

void TerminalView::drawProgress()
{
    if (m_progressShown)
        m_console.status(bar(m_task, m_value, m_maximum, m_console.statusWidth()));
}
