// The simulated instrument's memories, their factory contents, and saving them to a file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct SimMemory {
    static constexpr int kNvmSize = 512;      // microcontroller's internal non-volatile memory
    static constexpr int kEepromSize = 65536; // 24C512
    static constexpr int kFlashSize = 65536;  // flash ROM
    static constexpr int kRamSize = 256;      // internal RAM
    static constexpr int kXramSize = 2048;    // XRAM

    QByteArray nvm = QByteArray(kNvmSize, char(0xFF));
    QByteArray eeprom = QByteArray(kEepromSize, char(0xFF));
    QByteArray flash = QByteArray(kFlashSize, char(0xFF));
    QByteArray ram = QByteArray(kRamSize, 0);
    QByteArray xram = QByteArray(kXramSize, 0);
    quint8 clockHours = 12;
    quint8 clockMinutes = 0;
    quint8 linkByte = 0; // written by command 13 (123 while an editor holds the link)

    // A unit as it leaves the factory: serial number 8,3,15,12 (80315012), a valid
    // system block, product code 3 (Corvane), blank display configurations.
    static SimMemory factory(quint8 softwareVersion);

    // Byte access with the address wrapped to the memory's size.
    static quint8 at(const QByteArray &memory, int address);
    static void put(QByteArray &memory, int address, quint8 value);

    // XOR of system block bytes 1..255 (what byte 0 must hold).
    quint8 systemBlockChecksum() const;
    void fixSystemBlockChecksum();

    // All memories in one binary file (written atomically). Load refuses a file of
    // the wrong size or kind and leaves the memories unchanged.
    bool save(const QString &path, QString *error = nullptr) const;
    bool load(const QString &path, QString *error = nullptr);
};
