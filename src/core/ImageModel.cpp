#include "core/ImageModel.h"

#include "core/DampingTable.h"
#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/IconTable.h"

#include <cstring>

namespace
{
// Two bytes, high byte first.
struct WordBytes {
    quint8 bytes[2];
};
WordBytes wordBytes(quint16 value)
{
    return {{quint8(value >> 8), quint8(value & 0xFF)}};
}
} // namespace

ImageModel::ImageModel(EditorState &state, QObject *parent) : QObject(parent), m_state(state) {}

void ImageModel::announceReplaced()
{
    emit imageReplaced();
}

bool ImageModel::writeSystem(int byte, const quint8 *values, int count)
{
    Q_ASSERT(byte > layout::kSystemChecksum && byte + count <= layout::kSystemBytes);
    quint8 *to = m_state.systemBlock + byte;
    if (std::memcmp(to, values, size_t(count)) == 0)
        return false;
    std::memcpy(to, values, size_t(count));
    m_state.systemBlock[layout::kSystemChecksum] = systemBlockChecksum(m_state.systemBlock);
    return true;
}

bool ImageModel::writeBlock(int config, int byte, const quint8 *values, int count)
{
    Q_ASSERT(config >= 1 && config <= 16);
    Q_ASSERT(byte > layout::kBlockChecksum && byte + count <= layout::kBlockBytes);
    quint8 *block = m_state.configBlock[config];
    if (std::memcmp(block + byte, values, size_t(count)) == 0)
        return false;
    std::memcpy(block + byte, values, size_t(count));
    block[layout::kBlockChecksum] = configBlockChecksum(block);
    return true;
}

void ImageModel::setSystemBits(int byte, quint8 mask, quint8 bits)
{
    const quint8 value = quint8((systemByte(byte) & ~mask) | (bits & mask));
    if (writeSystem(byte, &value, 1))
        emit systemChanged();
}

void ImageModel::setSystemWord(int byte, quint16 value)
{
    const WordBytes w = wordBytes(value);
    if (writeSystem(byte, w.bytes, 2))
        emit systemChanged();
}

quint8 ImageModel::damping(int function) const
{
    Q_ASSERT(function >= 0 && function < damping::kFunctions);
    return systemByte(damping::kTable[function].byte);
}

void ImageModel::setDamping(int function, quint8 value)
{
    Q_ASSERT(function >= 0 && function < damping::kFunctions);
    setSystemByte(damping::kTable[function].byte, value);
}

quint8 ImageModel::nmeaSelection(int input, layout::NmeaPart part) const
{
    Q_ASSERT(input >= 1 && input <= layout::kNmeaInputs);
    return systemByte(layout::nmeaSelectionByte(input, part));
}

void ImageModel::setNmeaSelection(int input, layout::NmeaPart part, quint8 code)
{
    Q_ASSERT(input >= 1 && input <= layout::kNmeaInputs);
    setSystemByte(layout::nmeaSelectionByte(input, part), code);
}

quint8 ImageModel::senderType(senderlists::SenderList list) const
{
    return systemByte(senderlists::systemByte(list));
}

void ImageModel::setSenderType(senderlists::SenderList list, quint8 type)
{
    setSystemByte(senderlists::systemByte(list), type);
}

quint16 ImageModel::alarmLimit(int code, Limit which) const
{
    const int first = datasources::alarmSlot(code).first;
    return first ? systemWord(first + (which == Limit::High ? 2 : 0)) : 0;
}

void ImageModel::setAlarmLimit(int code, Limit which, quint16 value)
{
    const int first = datasources::alarmSlot(code).first;
    if (first)
        setSystemWord(first + (which == Limit::High ? 2 : 0), value);
}

void ImageModel::setConfigByte(int config, int byte, quint8 value)
{
    if (writeBlock(config, byte, &value, 1))
        emit configurationChanged(config);
}

void ImageModel::setConfigWord(int config, int byte, quint16 value)
{
    const WordBytes w = wordBytes(value);
    if (writeBlock(config, byte, w.bytes, 2))
        emit configurationChanged(config);
}

quint8 ImageModel::dataSource(int config, int display) const
{
    Q_ASSERT(display >= 0 && display < displays::kCount);
    return configByte(config, displays::kDisplays[display].codeByte);
}

void ImageModel::setDataSource(int config, int display, quint8 code)
{
    Q_ASSERT(display >= 0 && display < displays::kCount);
    setConfigByte(config, displays::kDisplays[display].codeByte, code);
}

namespace
{
int barLimitByte(int display, ImageModel::Limit which)
{
    Q_ASSERT(display >= 0 && display < displays::kCount && displays::kDisplays[display].isBar);
    return displays::kDisplays[display].codeByte +
           (which == ImageModel::Limit::High ? layout::kBarUpperAfterSource : layout::kBarLowerAfterSource);
}
} // namespace

quint16 ImageModel::barLimit(int config, int display, Limit which) const
{
    return configWord(config, barLimitByte(display, which));
}

void ImageModel::setBarLimit(int config, int display, Limit which, quint16 value)
{
    setConfigWord(config, barLimitByte(display, which), value);
}

bool ImageModel::icon(int config, int icon) const
{
    Q_ASSERT(icon >= 0 && icon < icons::kCount);
    const icons::IconDef &def = icons::kIcons[icon];
    return configByte(config, def.byte) & (1u << def.bit);
}

void ImageModel::setIcon(int config, int icon, bool on)
{
    Q_ASSERT(icon >= 0 && icon < icons::kCount);
    const icons::IconDef &def = icons::kIcons[icon];
    const quint8 bit = quint8(1u << def.bit);
    const quint8 old = configByte(config, def.byte);
    setConfigByte(config, def.byte, on ? quint8(old | bit) : quint8(old & ~bit));
}

void ImageModel::clearIcons(int config)
{
    const quint8 none[layout::kIconBytesLast] = {};
    if (writeBlock(config, layout::kIconBytes, none, layout::kIconBytesLast - layout::kIconBytes + 1))
        emit configurationChanged(config);
}

void ImageModel::clearConfiguration(int config)
{
    // A bar graph's source and both its limits are one run of bytes, the longest cleared.
    constexpr int kBarRun = layout::kBarUpperAfterSource + 2;
    const quint8 none[kBarRun] = {};
    bool changed = writeBlock(config, layout::kIconBytes, none, layout::kIconBytesLast - layout::kIconBytes + 1);
    for (const displays::DisplayDef &display : displays::kDisplays) {
        const int count = display.isBar ? kBarRun : 1;
        changed = writeBlock(config, display.codeByte, none, count) || changed;
    }
    if (changed)
        emit configurationChanged(config);
}

void ImageModel::setCurveField(int curve, int point, int field, float value)
{
    Q_ASSERT(curve >= 1 && curve <= 32 && point >= 1 && point <= 32);
    float &stored = m_state.calCurve[curve][point][field];
    // By the bits: a NaN set again is no change, 0 and -0 are two values.
    if (std::memcmp(&stored, &value, sizeof value) == 0)
        return;
    stored = value;
    emit curvesChanged();
}
