// The NMEA data monitor as an operation: polls one NMEA channel of the instrument and
// hands each character received to an observer. It never touches a widget.
#pragma once

#include <QString>

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

class NmeaMonitor
{
public:
    NmeaMonitor(InstrumentContext &ctx, NmeaMonitorObserver &observer);

    // Connects if needed, sends 63 and polls `channel` (1..4) until stop(); pauses
    // while state.NmeaMonitorRunning is false. Leaves command mode (61, 251, 0, 0, 0)
    // however it is stopped. False when no instrument was found. Throws LinkLost
    // when the port goes away.
    bool run(int channel);
    // Ends the polling at its next step; a stop during the connection means 63 is
    // never sent.
    void stop();
    bool stopRequested() const { return m_stopRequested; }
    // Sends the closing bytes now, while the port is still open (the editor closing);
    // the polling loop then sends nothing more.
    void release();

private:
    void poll(int channel);
    void leaveMonitorMode();

    InstrumentContext &m_ctx;
    NmeaMonitorObserver &m_observer;
    bool m_stopRequested = false;
    bool m_released = false;
    bool m_silenceShown = false;
    double m_lastAnswer = 0; // when a poll was last confirmed (clock seconds)
};
