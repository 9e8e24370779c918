// The NMEA data monitor as an operation: polls one NMEA channel of the instrument and
// hands each character received to an observer. It never touches a widget.
#pragma once

#include <QString>
#include <atomic>

struct InstrumentContext;

class NmeaMonitorObserver
{
public:
    virtual ~NmeaMonitorObserver() = default;
    // One character of the channel's NMEA text.
    virtual void received(char c) = 0;
    // Empty: the instrument answers; otherwise why nothing arrives.
    virtual void statusChanged(const QString &status) = 0;
};

// stop() and setPaused() may be called from any thread while run() runs on another.
class NmeaMonitor
{
public:
    explicit NmeaMonitor(NmeaMonitorObserver &observer) : m_observer(observer) {}

    // Connects if needed, sends 63 and polls `channel` (1..4) until stop(); sends
    // nothing while paused. Leaves command mode (61, 251, 0, 0, 0) however it is
    // stopped. False when no instrument was found. Throws LinkLost when the port goes
    // away.
    bool run(InstrumentContext &ctx, int channel);
    // Before a run: not stopped, not paused.
    void reset()
    {
        m_stopRequested = false;
        m_paused = false;
    }
    // Ends the polling at its next step; a stop during the connection means 63 is
    // never sent.
    void stop();
    bool stopRequested() const { return m_stopRequested; }
    void setPaused(bool paused);
    bool paused() const { return m_paused; }

private:
    void poll(InstrumentContext &ctx, int channel);
    void wakeWaits();

    NmeaMonitorObserver &m_observer;
    std::atomic<InstrumentContext *> m_ctx{nullptr}; // while run() runs
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_paused{false};
    bool m_silenceShown = false;
    double m_lastAnswer = 0; // when a poll was last confirmed (clock seconds)
};
