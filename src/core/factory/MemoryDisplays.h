// The five memory displays of the factory window: command code, prompt texts and the ranges their answers must keep.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QString>

namespace factory
{

enum class Memory { InternalRam, Xram, FlashRom, InternalNvm, Eeprom24C512 };

struct MemoryDisplay {
    Memory memory;
    int command; // read command code of the frame
    QString addressPrompt;
    QString addressTitle;
    QString countTitle;
    qint64 lastStart; // highest start address accepted (the first is 0)
    qint64 memoryEnd; // one past the last readable address; 0 when not bounded
};

// "Enter number of bytes to get/display (1-256)"
QString displayCountPrompt();
const MemoryDisplay &memoryDisplay(Memory memory);

// Start address answer: an empty or cancelled answer reads as 0 (reading is harmless).
// RAM, XRAM, flash ROM: 0..32767 (a 16-bit signed address); internal NVM 0..511;
// 24C512 0..65535. Anything else is refused with a message.
Checked checkDisplayAddress(Memory memory, const QString &answer);

// Byte count answer: 1..256; an empty or cancelled answer reads 0 and means "no lines".
// Negative counts, counts above 256, and counts that run past the end of the internal
// NVM (512 bytes) or of the 24C512 (65536 bytes) are refused with a message.
Checked checkDisplayCount(Memory memory, qint64 start, const QString &answer);

// The frame's count byte: 256 travels as 0.
constexpr int countByte(int n)
{
    return n == 256 ? 0 : n;
}

} // namespace factory
