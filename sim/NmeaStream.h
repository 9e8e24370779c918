// NMEA 0183 text that the simulated instrument receives on one of its four NMEA channels.
#pragma once

#include <QByteArray>

// An endless stream of well-formed sentences ("$", talker and sentence, fields,
// "*", two hex digits of checksum, CR LF) whose values drift slowly, one per
// channel: 1 GPS (GPGGA, GPRMC), 2 depth (SDDPT, SDDBT), 3 water (VWVHW, YXMTW),
// 4 wind and heading (IIMWV, HCHDG).
class NmeaStream
{
public:
    explicit NmeaStream(int channel = 1) : m_channel(channel) {}

    // The next character of the stream.
    char next();

    // "$" + body + "*" + checksum + CR LF.
    static QByteArray sentence(const QByteArray &body);
    // True when `line` is a complete sentence whose checksum matches.
    static bool valid(const QByteArray &line);

private:
    QByteArray nextSentence();

    int m_channel;
    int m_tick = 0;
    QByteArray m_pending;
    int m_pos = 0;
};
