// Checks of the numbers typed into the factory window's prompts, before anything is sent.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QString>

namespace factory
{

// An answer read as the designed number entry does: the number at its start, rounded
// to a whole number (halves to even); a text that does not start with a number is 0.
qint64 answerNumber(const QString &answer);
// True for an empty or cancelled answer (nothing but blanks).
bool answerEmpty(const QString &answer);

// Programming prompts. An empty or cancelled answer cancels: a cancelled prompt must
// never write a 0 into the instrument.
Checked checkDataByte(const QString &answer);           // 0..255
Checked checkInternalNvmAddress(const QString &answer); // 0..511
Checked check24C512ByteAddress(const QString &answer);  // 0..65535

// Target of a code image of `sectors` sectors in the 24C512. Empty: cancelled.
// 16,383 or less: "Error - bad 24C512 address". Also refused: above 32,767, A + 64 x S
// beyond 32,768, and any overlap with the system backup at 20,608..20,863.
Checked checkCodeTargetAddress(const QString &answer, int sectors);
Checked checkCodeTarget(qint64 address, int sectors);
// "Error - bad 24C512 address"
QString badCodeAddressMessage();

// Flash ROM to .COD: an empty start answer means 7168; otherwise 0..32767.
Checked checkFlashReadAddress(const QString &answer);
// Number of sectors to read: 1..16; empty cancels.
Checked checkFlashReadSectors(const QString &answer);

// 24C512 to flash: source address 0..65535 (empty cancels), then the sector count:
// above 8 copies 8, 0 copies 1, empty cancels, negative refused; the sectors must lie
// inside the 24C512.
Checked checkCopySourceAddress(const QString &answer);
Checked checkCopySectorCount(const QString &answer, qint64 source);

// New-unit prompts: product code 1..3 (1 = Tessaro, 2 = Lumisk, 3 = Corvane) and the
// software version 0..255; empty cancels.
Checked checkProductCode(const QString &answer);
Checked checkSoftwareVersion(const QString &answer);

} // namespace factory
