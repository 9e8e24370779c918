// "DECPTSA.DAT": the 64 decimal-point bytes a new unit receives at 24C512 address 7168.
#pragma once

#include "core/factory/FactoryResult.h"

namespace factory
{

constexpr int kDecimalPointEntries = 64;

// Five header lines (any text); 64 entries, each a number (not used) and a byte
// 0..255 (taken), separated by a comma or blanks, the rest of the line skipped; one
// closing number. Gives D[1..64] as bytes 0..63. Refusals name the file and line.
FileResult<QByteArray> parseDecimalPoints(const QByteArray &content, const QString &fileName);
FileResult<QByteArray> readDecimalPoints(const QString &path);

// The write of D[1..64] to 24C512 address 7168.
EepromBlock decimalPointBlock(const QByteArray &points);

} // namespace factory
