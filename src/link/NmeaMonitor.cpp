#include "link/NmeaMonitor.h"

#include "core/EditorState.h"
#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/SerialLink.h"

namespace
{
// The character the instrument sends after echoing a channel poll arrives about one
// byte time after the echo; a slow instrument gets as long as an echo.
constexpr double kCharacterWait = SerialLink::kEchoTimeout;
// While paused the loop sleeps in slices this long between looks at the flags.
constexpr double kPausedSlice = 0.1;
// Polls going unanswered this long are worth a word to the user.
constexpr double kSilenceNotice = 3.0;
} // namespace

NmeaMonitor::NmeaMonitor(InstrumentContext &ctx, NmeaMonitorObserver &observer) : m_ctx(ctx), m_observer(observer) {}

bool NmeaMonitor::run(int channel)
{
    EditorState &s = m_ctx.state;
    SerialLink &link = m_ctx.link;
    if (!m_ctx.ensureConnected())
        return false;
    // Stopped during the connection: command mode is left without entering the monitor.
    if (!m_stopRequested)
        link.SendByte(proto::kNmeaMonitorStart);
    m_lastAnswer = link.clock().now();
    while (!m_stopRequested) {
        if (s.NmeaMonitorRunning) {
            // Pause, Resume and Cancel act inside the poll's waits.
            poll(channel);
        } else {
            link.clock().waitUntil(link.clock().now() + kPausedSlice,
                                   [this, &s] { return m_stopRequested || s.NmeaMonitorRunning; });
        }
    }
    if (!m_released)
        leaveMonitorMode();
    return true;
}

// One poll: the channel byte with its echo wait, then the character that answers it.
// That character counts only after a confirmed echo of this poll's channel byte: a
// late character of an earlier poll, or the echo itself, is never taken as text.
void NmeaMonitor::poll(int channel)
{
    SerialLink &link = m_ctx.link;
    link.SendByteCheckEcho(channel);
    const bool confirmed = link.RxCount >= 1 && link.element(1) == channel;
    if (confirmed) {
        m_lastAnswer = link.clock().now();
        if (m_silenceShown) {
            m_silenceShown = false;
            m_observer.statusChanged(QString());
        }
        if (link.waitForBytes(2, kCharacterWait) && link.element(2) != channel)
            m_observer.received(char(link.element(2)));
    } else if (!m_silenceShown && link.clock().now() - m_lastAnswer > kSilenceNotice) {
        m_silenceShown = true;
        m_observer.statusChanged(QStringLiteral("No answer from the instrument on channel %1A/%1B").arg(channel));
    }
}

void NmeaMonitor::stop()
{
    m_stopRequested = true;
    m_ctx.link.clock().wake();
}

void NmeaMonitor::release()
{
    stop();
    if (m_released)
        return;
    try {
        leaveMonitorMode();
    } catch (const LinkLost &) {
        // The port is already gone: nothing more can be sent.
    }
}

// Leaves the instrument's command mode so that the next operation connects afresh.
void NmeaMonitor::leaveMonitorMode()
{
    m_released = true;
    m_ctx.link.sendFrame(proto::kSoftReset, 0, 0, 0);
    m_ctx.state.Connected = kFalse;
    m_ctx.view.setConnectedLabel(QStringLiteral("Not connected to Corvane"));
}
