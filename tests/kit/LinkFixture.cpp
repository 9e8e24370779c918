#include "kit/LinkFixture.h"

#include "link/Connection.h"

QString fixtureDevice(int n)
{
    return n > 0 ? QStringLiteral("COM%1").arg(n) : QString();
}

LinkFixture::LinkFixture(int comPort)
{
    state.link.portNumber = quint8(comPort);
    link.setView(&view);
}

void LinkFixture::connect()
{
    connectToInstrument(state, prompts, link, view);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(quint8(v));
    return b;
}

QByteArray repeated(int value, int count)
{
    return QByteArray(count, char(quint8(value)));
}
