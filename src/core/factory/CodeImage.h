// A program module as whole 64-byte sectors, as it travels between HEX files, .COD files, flash ROM and the 24C512.
#pragma once

#include "core/Protocol.h"

#include <QByteArray>

namespace factory
{

// Line 1 of a .COD file says where the image came from: ",Number of 64 byte Sectors"
// after a HEX conversion, ", Number of 64 byte Sectors" after a flash ROM read.
enum class CodeImageOrigin { HexFile, FlashRom };

constexpr int kMaxCodeSectors = 16; // the flash window 7168..8191

struct CodeImage {
    // The image in address order; a whole number of sectors (a short tail is written as 0).
    QByteArray bytes;
    // Address written on the first byte line of a .COD file; readers do not use it.
    int firstAddress = proto::kFlashCodeAddress;
    CodeImageOrigin origin = CodeImageOrigin::HexFile;

    int sectorCount() const { return int((bytes.size() + proto::kSectorSize - 1) / proto::kSectorSize); }
    // Byte i of the image (0 beyond the stored bytes).
    quint8 byteAt(int i) const { return i >= 0 && i < bytes.size() ? quint8(bytes.at(i)) : 0; }
    // The 64 bytes of sector b (1..S).
    QByteArray sector(int b) const
    {
        QByteArray s(proto::kSectorSize, '\0');
        for (int i = 0; i < proto::kSectorSize; ++i)
            s[i] = char(byteAt((b - 1) * proto::kSectorSize + i));
        return s;
    }
};

} // namespace factory
