// The configuration image's bytes as the editor and an operation hold them, and their checksums.
#pragma once

#include <QtGlobal>

// The configuration image's bytes: the system block, the display blocks, the curves.
struct ImageBytes {
    quint8 systemBlock[257] = {};     // 0..256; byte 0 = XOR of 1..255
    quint8 configBlock[17][129] = {}; // blocks 1..16, bytes 0..127 used
    float calCurve[33][33][3] = {};   // curves 1..32, points 1..32, fields 1 (ohms) and 2 (value x 10)

    quint16 systemWord(int index) const { return quint16(systemBlock[index] * 256 + systemBlock[index + 1]); }
    void setSystemWord(int index, quint16 v)
    {
        systemBlock[index] = quint8(v >> 8);
        systemBlock[index + 1] = quint8(v & 0xFF);
    }
    quint16 blockWord(int block, int index) const
    {
        return quint16(configBlock[block][index] * 256 + configBlock[block][index + 1]);
    }
    void setBlockWord(int block, int index, quint16 v)
    {
        configBlock[block][index] = quint8(v >> 8);
        configBlock[block][index + 1] = quint8(v & 0xFF);
    }
    // Copies only the image (system block, display blocks, curves).
    void copyImageFrom(const ImageBytes &other) { *this = other; }
};

// XOR of bytes 1..255 of a 256-byte system block.
quint8 systemBlockChecksum(const quint8 *block);
// XOR of bytes 1..127 of one display configuration block.
quint8 configBlockChecksum(const quint8 *block);
