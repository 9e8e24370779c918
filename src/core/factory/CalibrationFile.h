// "CALCURVS.DAT": the sender calibration curves a new unit receives in its 24C512.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QVector>

namespace factory
{

QString calibrationFileName(); // "CALCURVS.DAT"

// Line 1: the number of curves C (1..32), then a text. Per curve: three lines that are
// skipped, then 32 point lines of eight fields separated by commas or blanks: point
// number (0..255), 24C512 address (0..65535; on the curve's first point line it is the
// curve's start address, which must be a curve slot 12288 + 128 x (k - 1), k = 1..32),
// two numbers that are not used, four data bytes (0..255).
// Gives one 128-byte block per curve in file order. Refusals name the file and line.
FileResult<QVector<EepromBlock>> parseCalibrationFile(const QByteArray &content, const QString &fileName);
FileResult<QVector<EepromBlock>> readCalibrationFile(const QString &path);

} // namespace factory
