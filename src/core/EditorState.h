// The configuration image and the editor's other state in small objects. The windows'
// thread owns it; an instrument operation is given what it needs as an input of its own.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// Message box answers.
constexpr quint8 kYes = 6;
constexpr quint8 kNo = 7;

// Sender list positions of the sender window, kept here so that procedures that
// replace the image can position them without touching the window.
struct SenderListPositions {
    int fuel = 0;        // cboFuelSender        (byte 98)
    int trim = 0;        // cboTrimSender        (byte 99)
    int engineTemp = 0;  // cboEngineTempSender  (byte 100)
    int oilPressure = 0; // cboOilPressureSender (byte 101)
    int secondTank = 0;  // cbo2ndTankSender     (byte 103)
    bool operator==(const SenderListPositions &o) const
    {
        return fuel == o.fuel && trim == o.trim && engineTemp == o.engineTemp && oilPressure == o.oilPressure &&
               secondTank == o.secondTank;
    }
};

// The serial link as the windows show it.
struct LinkState {
    quint8 portNumber = 0; // COMn; 0 = none chosen
    bool connected = false;
    bool timedOut = false; // the last wait for an answer ran out
};

// What the instrument last told about itself.
struct InstrumentIdentity {
    QString serialNumber = QStringLiteral("Unknown");
    QString softwareVersion = QStringLiteral("Unknown");
    QString hardwareVersion = QStringLiteral("Unknown");
    QString unitVersions[4] = {QStringLiteral("Unknown"), QStringLiteral("Unknown"), QStringLiteral("Unknown"),
                               QStringLiteral("Unknown")}; // U101, U201, U301, U401
    quint8 productCode = 0;
};

// The editor's own session: the configuration shown, its file, the curve being edited.
struct EditorSession {
    quint8 currentConfig = 1;
    QString configFileName = QStringLiteral("DEFAULT.CFG");
    QString fileHeaderLines[6]; // 1..5
    QString versionText = QStringLiteral("Ver 1.0.3");
    quint8 editCurveNumber = 99; // 99 = none
    bool exitPrompted = false;   // the save question of the shutdown was asked
};

// The categories a transfer moves.
struct TransferChoices {
    bool askUser = true;
    qint16 upload[15] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};   // categories 1..14
    qint16 download[15] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1}; // categories 1..14
};

// The factory window's session: armed by the key chord, new-unit provisioning, code images.
struct FactorySession {
    bool armed = false;
    bool newUnitMode = false;
    bool newUnitUploadPending = false;
    quint8 newSoftwareVersion = 0;
    bool newSoftwareVersionEntered = false; // a version was typed in this run
    quint8 newSerialBytes[5] = {};          // 1..4: Y, MM, DD, nnn
    quint16 codeSectorCount = 0;
    quint16 codeTargetAddress = 0;
    QString nmeaTableFileName = QStringLiteral("NVMNMEAG.DAT");
    QString decimalPointsFileName = QStringLiteral("DECPTSA.DAT");
};

// The NMEA sentence selector and data monitor.
struct NmeaSession {
    quint8 selectionIndex = 0;
    quint8 channel = 1;
    bool monitorRunning = false;
};

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

struct EditorState : ImageBytes {
    // --- the editor's other state, in small objects ------------------------------------
    LinkState link;
    InstrumentIdentity instrument;
    EditorSession session;
    TransferChoices transfer;
    FactorySession factory;
    NmeaSession nmea;

    // --- sender window list positions --------------------------------------------------
    SenderListPositions senderPositions;
    // Called after senderPositions were set from a new image (defaults, file load).
    std::function<void()> onSenderPositionsChanged;
};

// XOR of bytes 1..255 of a 256-byte system block.
quint8 systemBlockChecksum(const quint8 *block);
// XOR of bytes 1..127 of one display configuration block.
quint8 configBlockChecksum(const quint8 *block);
