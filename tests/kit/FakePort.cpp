#include "kit/FakePort.h"

#include "kit/VirtualClock.h"

bool FakePort::open(const QString &device)
{
    if (device.isEmpty() || refuse.contains(device)) {
        m_error = device.isEmpty() ? OpenError::NotFound : refuse.value(device);
        m_open = false;
        return false;
    }
    m_error = OpenError::None;
    m_open = true;
    opened << device;
    return true;
}

void FakePort::write(const QByteArray &bytes)
{
    if (!m_open)
        return;
    written += bytes;
    if (!answer)
        return;
    for (char c : bytes) {
        const QByteArray reply = answer(quint8(c));
        if (!reply.isEmpty())
            injectIn(answerDelay, reply);
    }
}

QByteArray FakePort::readAll()
{
    QByteArray b;
    b.swap(m_input);
    return b;
}

void FakePort::discardInput()
{
    ++discards;
    m_input.clear();
}

void FakePort::inject(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_input += bytes;
    emit dataReceived();
}

void FakePort::injectIn(double seconds, const QByteArray &bytes)
{
    m_clock.scheduleIn(seconds, [this, bytes] { inject(bytes); });
}

void FakePort::loseIn(double seconds)
{
    m_clock.scheduleIn(seconds, [this] {
        if (!m_open)
            return;
        m_open = false;
        emit portLost();
    });
}
