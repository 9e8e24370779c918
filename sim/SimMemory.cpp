#include "SimMemory.h"

#include <QFile>
#include <QSaveFile>

namespace
{
const QByteArray kMagic("CORVANE-SIM-MEMORY 1\n");

// System block bytes of a unit fresh from the factory (the rest are 0).
struct Setting {
    int byte;
    quint8 value;
};
constexpr Setting kFactorySystemBlock[] = {
    {2, 3},    {5, 1},   {6, 1},     {7, 5},   {10, 0},    {11, 3},    {12, 8},   {13, 3},  {14, 15},   {15, 12},
    {17, 11},  {18, 6},  {19, 14},   {21, 3},  {22, 232},  {23, 3},    {24, 232}, {25, 10}, {45, 50},   {64, 100},
    {65, 100}, {66, 5},  {67, 10},   {92, 1},  {93, 244},  {98, 1},    {99, 2},   {100, 3}, {101, 4},   {103, 1},
    {104, 3},  {106, 3}, {107, 100}, {108, 3}, {111, 100}, {112, 100}, {113, 3},  {114, 4}, {115, 176}, {255, 255},
};
// NMEA selections (talker, sentence, commas) of inputs #1A..#4B at bytes 68..91:
// GP RMC speed and course, SD DPT depth, SD DBT depth, YX MTW temperature,
// VW VHW speed, II MWV wind angle and speed.
constexpr quint8 kFactoryNmea[24] = {16, 60, 7, 16, 60, 8, 28, 15, 1, 28, 13, 3,
                                     37, 52, 1, 35, 84, 5, 20, 54, 1, 20, 54, 3};
constexpr int kFineCalibrationBytes[] = {26, 27, 28, 29, 30, 31, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44};

int wrap(const QByteArray &memory, int address)
{
    const int size = int(memory.size());
    return ((address % size) + size) % size;
}
} // namespace

quint8 SimMemory::at(const QByteArray &memory, int address)
{
    return quint8(memory[wrap(memory, address)]);
}

void SimMemory::put(QByteArray &memory, int address, quint8 value)
{
    memory[wrap(memory, address)] = char(value);
}

quint8 SimMemory::systemBlockChecksum() const
{
    quint8 x = 0;
    for (int i = 1; i <= 255; ++i)
        x ^= quint8(nvm[i]);
    return x;
}

void SimMemory::fixSystemBlockChecksum()
{
    nvm[0] = char(systemBlockChecksum());
}

SimMemory SimMemory::factory(quint8 softwareVersion)
{
    SimMemory m;
    for (int i = 0; i < 256; ++i)
        m.nvm[i] = 0;
    for (const Setting &s : kFactorySystemBlock)
        m.nvm[s.byte] = char(s.value);
    for (int i = 0; i < 24; ++i)
        m.nvm[68 + i] = char(kFactoryNmea[i]);
    for (int b : kFineCalibrationBytes)
        m.nvm[b] = char(100);
    m.nvm[94] = char(softwareVersion);
    // Hi/lo alarm values: 25 pairs of 16-bit limits, low 0 and high 1000.
    for (int i = 128; i < 228; i += 4) {
        m.nvm[i + 2] = char(3);
        m.nvm[i + 3] = char(232);
    }
    m.fixSystemBlockChecksum();

    // Display configuration blocks: blank, each with a valid checksum (0).
    for (int a = 4096; a < 6144; ++a)
        m.eeprom[a] = 0;
    m.eeprom[7232] = char(3);

    // Flash ROM: a deterministic stand-in for program code in 0..8191.
    quint32 x = 0x2F6E2B1u;
    for (int a = 0; a < 8192; ++a) {
        x = x * 1664525u + 1013904223u;
        m.flash[a] = char(x >> 24);
    }
    for (int a = 0; a < kRamSize; ++a)
        m.ram[a] = char((a * 7 + 3) & 0xFF);
    return m;
}

bool SimMemory::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray data = kMagic;
    data += nvm + eeprom + flash + ram + xram;
    data += char(clockHours);
    data += char(clockMinutes);
    data += char(linkByte);
    file.write(data);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool SimMemory::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    const qsizetype expected = kMagic.size() + kNvmSize + kEepromSize + kFlashSize + kRamSize + kXramSize + 3;
    if (!data.startsWith(kMagic) || data.size() != expected) {
        if (error)
            *error = QStringLiteral("%1 is not a simulated instrument memory file").arg(path);
        return false;
    }
    qsizetype p = kMagic.size();
    auto take = [&](int n) {
        const QByteArray part = data.mid(p, n);
        p += n;
        return part;
    };
    nvm = take(kNvmSize);
    eeprom = take(kEepromSize);
    flash = take(kFlashSize);
    ram = take(kRamSize);
    xram = take(kXramSize);
    clockHours = quint8(data[p]);
    clockMinutes = quint8(data[p + 1]);
    linkByte = quint8(data[p + 2]);
    return true;
}
