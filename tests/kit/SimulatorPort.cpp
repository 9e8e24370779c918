#include "kit/SimulatorPort.h"

#include "Simulator.h"
#include "kit/VirtualClock.h"

#include <algorithm>

SimulatorPort::SimulatorPort(Simulator &sim, VirtualClock &clock, QObject *parent)
    : BytePort(parent), m_sim(sim), m_clock(clock)
{
}

bool SimulatorPort::open(const QString &device)
{
    close();
    if (device.isEmpty() || refuse.contains(device)) {
        m_error = device.isEmpty() ? OpenError::NotFound : refuse.value(device);
        m_errorString = QStringLiteral("cannot open %1").arg(device);
        return false;
    }
    if (m_sim.disconnected()) {
        m_error = OpenError::NotFound;
        m_errorString = QStringLiteral("%1 is gone").arg(device);
        return false;
    }
    m_error = OpenError::None;
    m_errorString.clear();
    m_open = true;
    ++m_session;
    m_input.clear();
    opened << device;
    return true;
}

void SimulatorPort::close()
{
    m_open = false;
    m_input.clear();
}

QByteArray SimulatorPort::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

void SimulatorPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return;
    for (char c : bytes) {
        const quint8 byte = quint8(c);
        written += char(byte);
        const double at = std::max(m_clock.now(), m_outFree) + kByteTime;
        m_outFree = at;
        m_clock.schedule(at, [this, byte, at] { toInstrument(byte, at); });
    }
}

void SimulatorPort::toInstrument(quint8 byte, double at)
{
    const unsigned session = m_session;
    for (const SimReply &reply : m_sim.receive(byte, at)) {
        const double arrives = std::max(at + reply.delay, m_inFree) + kByteTime;
        m_inFree = arrives;
        const quint8 answer = reply.byte;
        m_clock.schedule(arrives, [this, answer, session] {
            if (!m_open || session != m_session)
                return;
            m_input.append(char(answer));
            emit dataReceived();
        });
    }
    if (m_sim.disconnected() && !m_lostReported) {
        m_lostReported = true;
        m_clock.schedule(at, [this] { loseNow(); });
    }
}

void SimulatorPort::loseNow()
{
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    emit portLost();
}
