#include "core/ImageBytes.h"

quint8 systemBlockChecksum(const quint8 *block)
{
    quint8 x = 0;
    for (int i = 1; i <= 255; ++i)
        x ^= block[i];
    return x;
}

quint8 configBlockChecksum(const quint8 *block)
{
    quint8 x = 0;
    for (int i = 1; i <= 127; ++i)
        x ^= block[i];
    return x;
}
