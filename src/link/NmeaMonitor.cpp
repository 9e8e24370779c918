#include "link/NmeaMonitor.h"

#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
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

bool NmeaMonitor::run(InstrumentContext &ctx, int channel)
{
    SerialLink &link = ctx.link;
    m_silenceShown = false;
    m_ctx = &ctx;
    struct Detach {
        std::atomic<InstrumentContext *> &ctx;
        ~Detach() { ctx = nullptr; }
    } detach{m_ctx};
    if (!ctx.ensureConnected())
        return false;
    // Stopped during the connection: command mode is left without entering the monitor.
    if (!m_stopRequested)
        link.sendByte(proto::kNmeaMonitorStart);
    m_lastAnswer = link.clock().now();
    while (!m_stopRequested) {
        if (!m_paused) {
            // Pause, Resume and Cancel act inside the poll's waits.
            poll(ctx, channel);
        } else {
            link.clock().waitUntil(link.clock().now() + kPausedSlice, [this] { return m_stopRequested || !m_paused; });
        }
    }
    // Leaves the instrument's command mode so that the next operation connects afresh.
    link.sendFrame(proto::kSoftReset, 0, 0, 0);
    ctx.state.link.connected = false;
    ctx.view.linkStatusChanged(LinkStatus::NotConnected);
    return true;
}

// One poll: the channel byte with its echo wait, then the character that answers it.
// That character counts only after a confirmed echo of this poll's channel byte: a
// late character of an earlier poll, or the echo itself, is never taken as text.
void NmeaMonitor::poll(InstrumentContext &ctx, int channel)
{
    SerialLink &link = ctx.link;
    link.sendByteCheckEcho(channel);
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
    wakeWaits();
}

void NmeaMonitor::setPaused(bool paused)
{
    m_paused = paused;
    wakeWaits();
}

void NmeaMonitor::wakeWaits()
{
    if (InstrumentContext *ctx = m_ctx)
        ctx->link.clock().wake();
}
