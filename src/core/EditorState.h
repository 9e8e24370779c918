// The configuration image and the editor's other state in small objects, shared by the
// windows and copied for the operations' thread.
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

// The overwrite warning's answer.
enum class WarningAnswer : quint8 { Pending, Cancel, Continue, CompareFirst };

// The categories a transfer moves, and the overwrite warning's answer.
struct TransferChoices {
    bool askUser = true;
    qint16 upload[15] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};   // categories 1..14
    qint16 download[15] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1}; // categories 1..14
    bool downloadMode = false;
    WarningAnswer warningAnswer = WarningAnswer::Pending;
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

// The fields of each small object, for code that goes through all of them.
// clang-format off
#define CORVANE_LINK_STATE_VALUES(X) X(portNumber) X(connected) X(timedOut)
#define CORVANE_INSTRUMENT_IDENTITY_VALUES(X) \
    X(serialNumber) X(softwareVersion) X(hardwareVersion) X(unitVersions) X(productCode)
#define CORVANE_EDITOR_SESSION_VALUES(X) \
    X(currentConfig) X(configFileName) X(fileHeaderLines) X(versionText) X(editCurveNumber) X(exitPrompted)
#define CORVANE_TRANSFER_CHOICES_VALUES(X) X(askUser) X(upload) X(download) X(downloadMode) X(warningAnswer)
#define CORVANE_FACTORY_SESSION_VALUES(X)                                                                    \
    X(armed) X(newUnitMode) X(newUnitUploadPending) X(newSoftwareVersion) X(newSoftwareVersionEntered)        \
    X(newSerialBytes) X(codeSectorCount) X(codeTargetAddress) X(nmeaTableFileName) X(decimalPointsFileName)
#define CORVANE_NMEA_SESSION_VALUES(X) X(selectionIndex) X(channel) X(monitorRunning)
// clang-format on

struct EditorState {
    // --- configuration image (ImageModel reads and writes it by what it means) ------------
    quint8 systemBlock[257] = {};     // 0..256; byte 0 = XOR of 1..255
    quint8 configBlock[17][129] = {}; // blocks 1..16, bytes 0..127 used
    float calCurve[33][33][3] = {};   // curves 1..32, points 1..32, fields 1 (ohms) and 2 (value x 10)

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

    // --- helpers -------------------------------------------------------------------
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
    void copyImageFrom(const EditorState &other);
    // Copies everything but the callbacks (they belong to the windows of this copy).
    void assignValuesFrom(const EditorState &other);
};

// Every value member of EditorState, for code that goes through all of them: a member
// added to the struct is added here too.
// clang-format off
#define CORVANE_EDITOR_STATE_VALUES(X)                                                                          \
    X(systemBlock) X(configBlock) X(calCurve) X(link) X(instrument) X(session) X(transfer) X(factory) X(nmea)   \
    X(senderPositions)
// clang-format on

// Brings `target` the values that `changed` holds differently from `base`, element by
// element (one byte of a block, one point of a curve); everything else in `target`
// stays. Two copies of the state that went their own ways since `base` are merged so.
void mergeChangedValues(EditorState &target, const EditorState &base, const EditorState &changed);

// XOR of bytes 1..255 of a 256-byte system block.
quint8 systemBlockChecksum(const quint8 *block);
// XOR of bytes 1..127 of one display configuration block.
quint8 configBlockChecksum(const quint8 *block);
