#include "Simulator.h"

#include <algorithm>

namespace
{
constexpr quint8 kFrameStart = 61;
constexpr quint8 kHash = 35;
constexpr quint8 kMonitorStart = 63;
constexpr int kHashesForCommandMode = 8;
constexpr quint8 kCommandModeAnswer = 64;
constexpr quint8 kCommandModeCheckAnswer = 4;
constexpr int kSectorSize = 64;
} // namespace

Simulator::Simulator() : memory(SimMemory::factory(23)), m_random(faults.seed) {}

void Simulator::setFaults(const SimFaults &f)
{
    faults = f;
    m_random.seed(f.seed);
    m_answers = 0;
}

void Simulator::setMode(Mode mode)
{
    m_mode = mode;
    m_parse = Parse::Idle;
    m_hashes = 0;
}

void Simulator::reset()
{
    setMode(Mode::Normal);
}

QByteArray Simulator::receivedBytes() const
{
    QByteArray bytes;
    for (const SimLogEntry &e : m_log)
        if (e.fromEditor)
            bytes += char(e.byte);
    return bytes;
}

QByteArray Simulator::sentBytes() const
{
    QByteArray bytes;
    for (const SimLogEntry &e : m_log)
        if (!e.fromEditor)
            bytes += char(e.byte);
    return bytes;
}

std::vector<SimReply> Simulator::receive(quint8 byte, double now)
{
    std::vector<SimReply> out;
    if (faults.disconnectAfter == 0)
        m_disconnected = true;
    if (m_disconnected)
        return out;
    // Without power nothing is received, stored or answered.
    if (muted())
        return out;
    m_log.push_back({now, true, byte});
    m_now = now;
    m_out = &out;
    switch (m_mode) {
    case Mode::Normal:
        normalByte(byte);
        break;
    case Mode::Command:
        commandByte(byte);
        break;
    case Mode::Monitor:
        monitorByte(byte);
        break;
    case Mode::Isp:
        break; // the loader waits for a reset
    }
    m_out = nullptr;
    ++m_received;
    if (faults.disconnectAfter >= 0 && m_received >= faults.disconnectAfter)
        m_disconnected = true;
    return out;
}

void Simulator::answer(quint8 byte, bool echo, double extraDelay)
{
    if (faults.silent)
        return;
    const int index = m_answers++;
    double delay = kAnswerLatency + extraDelay;
    if (echo) {
        if (faults.wrongEcho >= 0)
            byte = quint8(faults.wrongEcho);
        delay += faults.echoDelay;
    }
    if (faults.dropProbability > 0 && m_random.generateDouble() < faults.dropProbability)
        return;
    if (faults.garbleProbability > 0 && m_random.generateDouble() < faults.garbleProbability)
        byte ^= quint8(1 + m_random.bounded(255));
    if (faults.delayProbability > 0 && m_random.generateDouble() < faults.delayProbability)
        delay += faults.extraDelay;
    if (std::find(faults.garbleAt.begin(), faults.garbleAt.end(), index) != faults.garbleAt.end())
        byte ^= faults.garbleMask;
    if (index == faults.lateAt)
        delay += faults.extraDelay;
    m_out->push_back({delay, byte});
    m_log.push_back({m_now + delay, false, byte});
}

void Simulator::countHash(quint8 byte)
{
    if (byte != kHash) {
        m_hashes = 0;
        return;
    }
    if (++m_hashes < kHashesForCommandMode)
        return;
    m_hashes = 0;
    if (faults.neverAnswer64)
        return;
    m_mode = Mode::Command;
    m_parse = Parse::Idle;
    answer(kCommandModeAnswer);
}

void Simulator::normalByte(quint8 byte)
{
    // Outside command mode the instrument echoes the probe and listens for "#".
    if (byte == kFrameStart)
        answer(kFrameStart);
    countHash(byte);
}

void Simulator::monitorByte(quint8 byte)
{
    if (byte >= 1 && byte <= 4) {
        if (faults.silentMonitor)
            return;
        answer(byte, true);
        answer(quint8(m_nmea[byte - 1].next()), false, faults.characterDelay);
    } else if (byte == kFrameStart) {
        m_mode = Mode::Command;
        m_parse = Parse::Frame;
        m_frame.clear();
    }
}

void Simulator::commandByte(quint8 byte)
{
    switch (m_parse) {
    case Parse::Idle:
        if (byte == kFrameStart) {
            m_parse = Parse::Frame;
            m_frame.clear();
            m_hashes = 0;
        } else if (byte == kMonitorStart) {
            m_mode = Mode::Monitor;
            m_hashes = 0;
        } else {
            // Eight "#" bring an instrument already in command mode back in step.
            countHash(byte);
        }
        break;
    case Parse::Frame:
        m_frame += char(byte);
        if (m_frame.size() == 4) {
            m_parse = Parse::Idle;
            execute();
        }
        break;
    case Parse::WriteData: {
        const bool weak = m_address == (m_target == Target::Eeprom ? faults.weakEepromCell : faults.weakNvmCell);
        SimMemory::put(m_target == Target::Nvm ? memory.nvm : memory.eeprom, m_address++,
                       weak ? quint8(byte ^ 0x01) : byte);
        answer(byte, true);
        if (--m_remaining == 0)
            m_parse = Parse::Idle;
        break;
    }
    case Parse::LinkByte:
        memory.linkByte = byte;
        m_parse = Parse::Idle;
        break;
    }
}

void Simulator::readInto(const QByteArray &source, int address, int count, bool nvm)
{
    for (int i = 0; i < count; ++i) {
        const int a = address + i;
        quint8 value = SimMemory::at(source, a);
        if (nvm && faults.badChecksum && (a % source.size()) == 0)
            value ^= 0x5A;
        answer(value);
    }
}

void Simulator::execute()
{
    const quint8 code = quint8(m_frame[0]);
    const int count = quint8(m_frame[1]) == 0 ? 256 : quint8(m_frame[1]);
    const int high = quint8(m_frame[2]);
    const int low = quint8(m_frame[3]);
    const int address = high * 256 + low;
    switch (code) {
    case 0:
        readInto(memory.nvm, address, count, true);
        break;
    case 1:
    case 3:
        m_target = code == 1 ? Target::Nvm : Target::Eeprom;
        m_address = address;
        m_remaining = count;
        m_parse = Parse::WriteData;
        break;
    case 2:
        readInto(memory.eeprom, address, count, false);
        break;
    case 4:
        answer(kCommandModeCheckAnswer);
        break;
    case 5:
        for (int i = 12; i <= 15; ++i)
            answer(quint8(memory.nvm[i]));
        answer(softwareVersion);
        answer(hardwareVersion);
        break;
    case 7:
        readInto(memory.ram, address, count, false);
        break;
    case 8:
        readInto(memory.xram, address, count, false);
        break;
    case 9:
    case 10:
        m_mode = Mode::Isp;
        break;
    case 12:
        memory.clockHours = quint8(high);
        memory.clockMinutes = quint8(low);
        break;
    case 13:
        m_parse = Parse::LinkByte;
        break;
    case 14:
        answer(softwareVersion);
        answer(hardwareVersion);
        for (quint8 v : unitVersions)
            answer(v);
        break;
    case 251:
        m_mode = Mode::Normal;
        break;
    case 252:
        for (int i = 0; i < count * kSectorSize && kFlashCodeAddress + i < SimMemory::kFlashSize; ++i)
            memory.flash[kFlashCodeAddress + i] = char(SimMemory::at(memory.eeprom, address + i));
        break;
    case 253:
        readInto(memory.flash, address, count, false);
        break;
    case 255:
        memory.ram.fill(0);
        m_mode = Mode::Normal;
        break;
    default:
        break; // unknown codes are ignored
    }
}
