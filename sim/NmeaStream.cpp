#include "NmeaStream.h"

#include <cmath>

namespace
{
quint8 checksum(const QByteArray &body)
{
    quint8 x = 0;
    for (char c : body)
        x ^= quint8(c);
    return x;
}

QByteArray num(double v, int decimals, int width = 0)
{
    return QByteArray::number(v, 'f', decimals).rightJustified(width, '0');
}

QByteArray utc(int tick)
{
    const int seconds = (10 * 3600 + 30 * 60 + tick) % 86400;
    return num(seconds / 3600, 0, 2) + num(seconds / 60 % 60, 0, 2) + num(seconds % 60, 0, 2) + ".00";
}
} // namespace

QByteArray NmeaStream::sentence(const QByteArray &body)
{
    return '$' + body + '*' + QByteArray::number(checksum(body), 16).toUpper().rightJustified(2, '0') + "\r\n";
}

bool NmeaStream::valid(const QByteArray &line)
{
    if (!line.startsWith('$') || !line.endsWith("\r\n"))
        return false;
    const qsizetype star = line.lastIndexOf('*');
    if (star < 0 || line.size() - star != 5)
        return false;
    bool ok = false;
    const int sum = line.mid(star + 1, 2).toInt(&ok, 16);
    return ok && sum == checksum(line.mid(1, star - 1));
}

QByteArray NmeaStream::nextSentence()
{
    const int t = m_tick++;
    const double wave = std::sin(t / 7.0);
    const bool second = t % 2 == 1;
    QByteArray body;
    switch (m_channel) {
    case 1:
        body = second ? "GPRMC," + utc(t) + ",A,4916.45,N,12311.12,W," + num(5.5 + wave, 1, 5) + "," +
                            num(54.7 + 3 * wave, 1, 5) + ",140611,020.3,E"
                      : "GPGGA," + utc(t) + ",4916.45,N,12311.12,W,1,08,0.9,545.4,M,46.9,M,,";
        break;
    case 2:
        body = second ? "SDDBT," + num((12.3 + wave) * 3.2808, 1) + ",f," + num(12.3 + wave, 1) + ",M," +
                            num((12.3 + wave) * 0.5468, 1) + ",F"
                      : "SDDPT," + num(12.3 + wave, 1) + ",0.5";
        break;
    case 3:
        body = second ? "YXMTW," + num(17.5 + wave / 2, 1) + ",C"
                      : "VWVHW," + num(54.7 + 3 * wave, 1, 5) + ",T,034.4,M," + num(5.5 + wave, 1, 4) + ",N," +
                            num((5.5 + wave) * 1.852, 1) + ",K";
        break;
    default:
        body = second ? "HCHDG," + num(34.4 + 3 * wave, 1, 5) + ",,,20.3,E"
                      : "IIMWV," + num(45 + 10 * wave, 1, 5) + ",R," + num(12.4 + 2 * wave, 1) + ",N,A";
        break;
    }
    return sentence(body);
}

char NmeaStream::next()
{
    if (m_pos >= m_pending.size()) {
        m_pending = nextSentence();
        m_pos = 0;
    }
    return m_pending[m_pos++];
}
