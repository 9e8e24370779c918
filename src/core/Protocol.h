// Command codes, single bytes and the memory map of the instrument protocol, in one place.
#pragma once

#include "core/ImageLayout.h"

namespace proto
{

// Frame: 61, code, count (0 stands for 256), address high, address low.
constexpr int kFrameStart = 61;      // "="; also the connection probe
constexpr int kCommandModeByte = 35; // "#", sent eight times
constexpr int kCommandModeCount = 8;
constexpr int kCommandModeAnswer = 64;
constexpr int kAlreadyInCommandMode = 4; // answer to the command-mode check
constexpr int kNmeaMonitorStart = 63;    // "?"

// Command codes.
constexpr int kReadInternalNvm = 0;
constexpr int kWriteInternalNvm = 1;
constexpr int kRead24C512 = 2;
constexpr int kWrite24C512 = 3;
constexpr int kCommandModeCheck = 4;
constexpr int kIdentification = 5;
constexpr int kReadInternalRam = 7;
constexpr int kReadXram = 8;
constexpr int kIspFrom24C512 = 9;
constexpr int kIspOwnLoader = 10;
constexpr int kSetClock = 12;
constexpr int kWriteLinkByte = 13; // one byte at 229 x 256 + 5
constexpr int kVersionQuery = 14;
constexpr int kSoftReset = 251;
constexpr int kCopyToFlash = 252;
constexpr int kReadFlash = 253;
constexpr int kClearRam = 255;

// The byte written with command 13 at 229 x 256 + 5.
constexpr int kLinkByteHigh = 229;
constexpr int kLinkByteLow = 5;
constexpr int kLinkByteConnected = 123;
constexpr int kLinkByteReleased = 0;

// Answer lengths.
constexpr int kIdentificationLength = 6;
constexpr int kVersionLength = 6;

// Internal non-volatile memory.
constexpr int kInternalNvmSize = 512;
constexpr int kSystemBlockSize = 256;
// The instrument keeps its system block at internal memory 0..255, byte for byte.
constexpr int kSoftwareVersionByte = layout::kSoftwareVersion;
constexpr int kUploadCounterByte = layout::kUploadCounter;

// 24C512 memory map.
constexpr int k24C512Size = 65536;
constexpr int kConfigBlockBase = 4096; // block n at 4096 + 128 (n - 1)
constexpr int kConfigBlockSize = 128;
constexpr int kProductCodeAddress = 7232;
constexpr int kCurveBase = 12288; // curve k at 12288 + 128 (k - 1)
constexpr int kCurveSize = 128;
constexpr int kSystemBackup = 20608;  // ..20863
constexpr int kLowAreaBackup = 32768; // ..38911
constexpr int kLowAreaSize = 6144;
constexpr int kCodeImageFirst = 16384;
constexpr int kCodeImageLast = 32767;
constexpr int kSectorSize = 64;
constexpr int kNmeaTalkerTable = 6400;
constexpr int kNmeaSentenceTable = 6656;
constexpr int kDecimalPointTable = 7168;

// Flash ROM window that the instrument copies code sectors into.
constexpr int kFlashCodeAddress = 7168;
constexpr int kFlashCodeEnd = 8191;
constexpr int kMaxCopySectors = 8;

constexpr int high(int address)
{
    return (address >> 8) & 0xFF;
}
constexpr int low(int address)
{
    return address & 0xFF;
}

} // namespace proto
