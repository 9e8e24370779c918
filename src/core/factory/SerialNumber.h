// Splitting a serial number written YMMDDnnn into the four bytes the instrument keeps.
#pragma once

#include <QString>
#include <array>

namespace factory
{

using SerialBytes = std::array<quint8, 4>; // Y, MM, DD, nnn

// Y = S / 10,000,000; MM, DD the next two pairs of digits; nnn the last three, limited to 255.
// 80315012 -> 8, 3, 15, 12; 81231999 -> 8, 12, 31, 255. Needs 70,000,000 <= s <= 2,147,483,647.
SerialBytes serialNumberBytes(qint64 s);

struct SerialSplit {
    bool ok = false;
    SerialBytes bytes{};
    QString message; // empty when not ok: the number was 69,999,999 or less (end without a message)
};

// Reads the typed answer as a 32-bit number. Not above 69,999,999 (including an empty
// or cancelled answer): ends quietly. Above 2,147,483,647: refused with a message.
SerialSplit splitSerialNumber(const QString &answer);

} // namespace factory
