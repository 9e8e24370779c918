// The simulated Corvane: a state machine that takes the editor's bytes and answers as the instrument does.
#pragma once

#include "NmeaStream.h"
#include "SimMemory.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <array>
#include <vector>

// Ways the simulated instrument can misbehave. Random faults draw from a generator
// seeded with `seed`, so a test sees the same faults every run.
struct SimFaults {
    bool silent = false;          // answers nothing at all
    double dropProbability = 0;   // each answer byte is lost
    double garbleProbability = 0; // each answer byte arrives with wrong bits
    double delayProbability = 0;  // each answer byte comes `extraDelay` late
    double extraDelay = 0.5;
    quint32 seed = 1;
    int wrongEcho = -1;         // >= 0: echoes of data and channel bytes carry this value
    double echoDelay = 0;       // > 0: those echoes come this many seconds late
    double characterDelay = 0;  // > 0: the monitor's character comes this much after the echo
    bool silentMonitor = false; // monitor mode answers nothing (a polled channel that is dead)
    bool badChecksum = false;   // reads of internal memory byte 0 give a wrong checksum
    int disconnectAfter = -1;   // >= 0: gone (no answers, port lost) after that many bytes
    int muteAfter = -1;         // >= 0: dead after that many bytes (power lost), the port stays
    bool neverAnswer64 = false; // echoes the probe but never enters command mode
    int weakEepromCell = -1;    // >= 0: this 24C512 address stores one bit wrong (the echo is right)
    int weakNvmCell = -1;       // >= 0: this internal memory address stores one bit wrong (the echo is right)
    // Single answer bytes, numbered from 0 since setFaults(): these arrive with
    // `garbleMask` XORed into them, and this one comes `extraDelay` late.
    std::vector<int> garbleAt;
    quint8 garbleMask = 0x5A;
    int lateAt = -1;
};

// One answer byte, `delay` seconds after the byte that caused it was received.
struct SimReply {
    double delay;
    quint8 byte;
};

struct SimLogEntry {
    double time;
    bool fromEditor; // true: received by the instrument; false: sent by it
    quint8 byte;
};

class Simulator
{
public:
    enum class Mode { Normal, Command, Monitor, Isp };
    // Time the firmware takes to answer a byte.
    static constexpr double kAnswerLatency = 0.0002;
    static constexpr int kProductCodeAddress = 7232;
    static constexpr int kFlashCodeAddress = 7168;

    Simulator();

    // Identity answered by commands 5 and 14.
    quint8 softwareVersion = 23;
    quint8 hardwareVersion = 4;
    std::array<quint8, 4> unitVersions{{12, 7, 5, 3}}; // U101, U201, U301, U401

    SimMemory memory;

    // Set before use; setFaults() also restarts the random generator from the seed.
    SimFaults faults;
    void setFaults(const SimFaults &f);

    // The instrument receives `byte` at time `now`; returns its answer bytes.
    std::vector<SimReply> receive(quint8 byte, double now);

    Mode mode() const { return m_mode; }
    // Puts the instrument into a mode directly (a test of an instrument left in command mode).
    void setMode(Mode mode);
    // Power cycle: leaves command, monitor and in-system-programming mode.
    void reset();
    // True once `faults.disconnectAfter` bytes were received.
    bool disconnected() const { return m_disconnected; }
    // True once `faults.muteAfter` bytes were received.
    bool muted() const { return faults.muteAfter >= 0 && m_received >= faults.muteAfter; }

    void setProductCode(quint8 code) { SimMemory::put(memory.eeprom, kProductCodeAddress, code); }
    quint8 productCode() const { return SimMemory::at(memory.eeprom, kProductCodeAddress); }

    // Every byte in both directions, in order (answers at the time they are sent).
    const std::vector<SimLogEntry> &log() const { return m_log; }
    QByteArray receivedBytes() const;
    QByteArray sentBytes() const;
    void clearLog() { m_log.clear(); }

private:
    enum class Parse { Idle, Frame, WriteData, LinkByte };
    enum class Target { Nvm, Eeprom };

    void normalByte(quint8 byte);
    void commandByte(quint8 byte);
    void monitorByte(quint8 byte);
    void countHash(quint8 byte);
    void execute();
    void readInto(const QByteArray &memory, int address, int count, bool nvm);
    void answer(quint8 byte, bool echo = false, double extraDelay = 0);

    Mode m_mode = Mode::Normal;
    Parse m_parse = Parse::Idle;
    QByteArray m_frame;
    Target m_target = Target::Nvm;
    int m_address = 0;
    int m_remaining = 0;
    int m_hashes = 0;
    bool m_disconnected = false;
    qint64 m_received = 0;
    int m_answers = 0; // answer bytes since setFaults()
    double m_now = 0;
    std::vector<SimReply> *m_out = nullptr;
    std::array<NmeaStream, 4> m_nmea{{NmeaStream(1), NmeaStream(2), NmeaStream(3), NmeaStream(4)}};
    QRandomGenerator m_random;
    std::vector<SimLogEntry> m_log;
};
