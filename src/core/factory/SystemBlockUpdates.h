// The blocks that provisioning writes into a new unit: log block, factory settings, new serial number, NVM checksum.
#pragma once

#include "core/factory/SerialNumber.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace factory
{

using BlockBytes = std::array<quint8, 256>; // the instrument's system block, bytes 0..255
using LogBlock = std::array<quint8, 128>;   // 24C512 addresses 0..127

// The log and first-use block: two 32-byte records that start counting afresh and carry
// the engine maintenance alarm time (system block bytes 114, 115 of `systemBlock`, the
// editor's image), the first one checksummed; bytes 64..127 are 255.
LogBlock buildLogBlock(const quint8 *systemBlock);

// Lays the factory settings over a system block read from the instrument; byte 3 is 1
// only for product code 2 (Lumisk). Byte 0 is recomputed.
void applyFactorySettings(BlockBytes &block, int productCode);

// Serial number into bytes 12..15, the software version into byte 94 (left as the
// instrument had it when no version was entered in this run), byte 255 := 255, byte 0
// recomputed so that the XOR of bytes 0..255 is 0.
void applyNewSerialNumber(BlockBytes &block, const SerialBytes &serial, std::optional<quint8> softwareVersion);

// The new checksum byte after one internal NVM byte changes from `oldValue` to `newData`.
constexpr quint8 nvmChecksumUpdate(quint8 newData, quint8 oldValue, quint8 oldChecksum)
{
    return quint8(newData ^ oldValue ^ oldChecksum);
}

// The 128 bytes of 255 written to 24C512 addresses 128..255 next to the log block.
QByteArray erasedLogTail();

} // namespace factory
