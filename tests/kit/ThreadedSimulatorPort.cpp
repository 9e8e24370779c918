#include "kit/ThreadedSimulatorPort.h"

#include "Simulator.h"
#include "link/Clock.h"

ThreadedSimulatorPort::ThreadedSimulatorPort(Simulator &sim, Clock &clock, QObject *parent)
    : BytePort(parent), m_sim(sim), m_clock(clock)
{
}

bool ThreadedSimulatorPort::open(const QString &device)
{
    if (device.isEmpty() || m_sim.disconnected() || (loseAfterBytes >= 0 && m_count >= loseAfterBytes))
        return false;
    m_open = true;
    m_input.clear();
    return true;
}

void ThreadedSimulatorPort::close()
{
    m_open = false;
    m_input.clear();
}

QByteArray ThreadedSimulatorPort::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

void ThreadedSimulatorPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return;
    for (char c : bytes) {
        written += c;
        const int count = ++m_count;
        if (count == loseAfterBytes) {
            close();
            emit portLost();
            return;
        }
        for (const SimReply &reply : m_sim.receive(quint8(c), m_clock.now()))
            m_input.append(char(reply.byte));
        if (!m_input.isEmpty())
            emit dataReceived();
        if (count == afterBytes && onBytesWritten)
            onBytesWritten();
    }
}
