// A byte port wired straight to the in-process simulated instrument, for operations on
// their own thread: the instrument answers each byte as it is written, on the thread
// that writes it. Everything but the counters is for that thread alone.
#pragma once

#include "link/BytePort.h"

#include <atomic>
#include <functional>

class Clock;
class Simulator;

class ThreadedSimulatorPort : public BytePort
{
    Q_OBJECT
public:
    ThreadedSimulatorPort(Simulator &sim, Clock &clock, QObject *parent = nullptr);

    bool open(const QString &device) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    OpenError lastOpenError() const override { return OpenError::None; }
    QString errorString() const override { return QString(); }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesWaiting() const override { return m_input.size(); }
    void discardInput() override { m_input.clear(); }

    // Every byte written so far (read it once the operation has ended).
    QByteArray written;
    // Called on the writing thread once `afterBytes` bytes were written (a test cancels
    // or unplugs there); set before the operation starts.
    int afterBytes = -1;
    std::function<void()> onBytesWritten;
    // The port goes away once this many bytes were written (-1: never).
    int loseAfterBytes = -1;
    // Bytes written so far; any thread.
    int writtenCount() const { return m_count; }

private:
    Simulator &m_sim;
    Clock &m_clock;
    bool m_open = false;
    QByteArray m_input;
    std::atomic<int> m_count{0};
};
