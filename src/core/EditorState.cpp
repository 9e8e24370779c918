#include "core/EditorState.h"

#include <cstring>

void EditorState::copyImageFrom(const EditorState &other)
{
    std::memcpy(SystemBlock, other.SystemBlock, sizeof SystemBlock);
    std::memcpy(ConfigBlock, other.ConfigBlock, sizeof ConfigBlock);
    std::memcpy(CalCurve, other.CalCurve, sizeof CalCurve);
}

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
