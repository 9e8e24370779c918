// A byte port wired straight to the in-process simulated instrument, with wire timing on the virtual clock.
#pragma once

#include "link/BytePort.h"

#include <QMap>

class Simulator;
class VirtualClock;

// Every byte takes one byte time (10 bits at 115200 baud) on the wire in each
// direction, one after the other as on a real line; the instrument answers after
// its own latency. Answers reach the port through the clock's schedule, so they
// arrive while the link waits, as they would from a serial driver.
class SimulatorPort : public BytePort
{
    Q_OBJECT
public:
    static constexpr double kByteTime = 10.0 / 115200.0;

    SimulatorPort(Simulator &sim, VirtualClock &clock, QObject *parent = nullptr);

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    OpenError lastOpenError() const override { return m_error; }
    QString errorString() const override { return m_errorString; }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override { return m_input.size(); }
    void discardInput() override { m_input.clear(); }

    // Devices that refuse to open, with the error they give.
    QMap<QString, OpenError> refuse;
    // Every device opened, in order, and every byte written by the editor.
    QStringList opened;
    QByteArray written;

    // The port goes away now (adapter unplugged).
    void loseNow();

private:
    void toInstrument(quint8 byte, double at);

    Simulator &m_sim;
    VirtualClock &m_clock;
    bool m_open = false;
    bool m_lostReported = false;
    unsigned m_session = 0; // answers for an earlier opening are not delivered
    double m_outFree = 0;
    double m_inFree = 0;
    OpenError m_error = OpenError::None;
    QString m_errorString;
    QByteArray m_input;
};
