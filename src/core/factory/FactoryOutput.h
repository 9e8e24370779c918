// The lines the factory window writes into its output box.
#pragma once

#include <QString>
#include <QVector>

namespace factory
{

// Address and value as signed decimal texts joined by four blanks, CR LF:
// 300 holding 17 -> " 300     17\r\n". 24C512 addresses run past 32767 as they are.
QString memoryLine(qint64 address, int value);
// One memory line per value, from `start` on.
QString memoryLines(qint64 start, const QVector<int> &values);
// The flash ROM sector box: offsets 0..63 and the sector's values.
QString flashSectorText(const QVector<int> &values);

// "Writing Sector " + b + " to " + a + CR LF, b and a as signed decimal texts.
QString writingSectorLine(int sector, int address);
// CR LF "Done" CR LF, after the last sector.
QString transferDoneText();

// Internal NVM programming: "Old value at " + A + "=  " + V, "Old checksum " + A + "=  " + S,
// "New data at " + A + "=  " + value; each number a signed decimal text, each line CR LF.
QString oldValueLine(int address, int value);
QString oldChecksumLine(int address, int checksum);
QString newDataLine(int address, int value);

} // namespace factory
