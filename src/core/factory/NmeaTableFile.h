// "NVMNMEAG.DAT": the NMEA talker and sentence identifier tables a new unit receives in its 24C512.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QVector>

namespace factory
{

constexpr int kNmeaTalkerEntries = 128;
constexpr int kNmeaSentenceEntries = 128;

struct NmeaTables {
    // T[1..256] as bytes 0..255: talker entry a gives T[2a - 1], T[2a] (24C512 6400..6655).
    QByteArray talkers;
    // N[1..512] as bytes 0..511: sentence entry b gives N[4b - 3 .. 4b - 1] and N[4b] = 0
    // (24C512 6656..7167).
    QByteArray sentences;
};

// Five header lines (any text); 128 talker lines, each a number (not used) and a text
// whose first two characters are taken; 128 sentence lines, each a number and a text
// whose first three characters are taken; one closing number. The text follows the
// number after a comma or blanks, may be quoted and runs to the next comma; anything
// after it is skipped. Taken characters must be printable ASCII. Refusals name the file
// and line.
FileResult<NmeaTables> parseNmeaTables(const QByteArray &content, const QString &fileName);
FileResult<NmeaTables> readNmeaTables(const QString &path);

// The six 128-byte writes of the NMEA upload, g = 1..6 at 6400 + 128 x (g - 1):
// talker table halves first, then the four quarters of the sentence table.
QVector<EepromBlock> nmeaUploadBlocks(const NmeaTables &tables);

} // namespace factory
