// The configuration image and the editor's shared state, every global by its designed name.
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

struct EditorState {
    // --- configuration image ---------------------------------------------------
    quint8 SystemBlock[257] = {};     // 0..256; byte 0 = XOR of 1..255
    quint8 ConfigBlock[17][129] = {}; // blocks 1..16, bytes 0..127 used
    float CalCurve[33][33][3] = {};   // curves 1..32, points 1..32, fields 1 (ohms) and 2 (value x 10)

    // --- editor state -----------------------------------------------------------
    quint8 ComPortNumber = 0;
    quint8 CurrentConfig = 1;
    QString ConfigFileName = QStringLiteral("DEFAULT.CFG");
    QString NmeaTableFileName = QStringLiteral("NVMNMEAG.DAT");
    QString DecimalPointsFileName = QStringLiteral("DECPTSA.DAT");
    QString FileHeaderLines[6]; // 1..5
    QString VersionText = QStringLiteral("Ver 1.0.3");
    QString InputScratch;
    quint8 MsgAnswer = 0;
    quint8 ExitPrompted = 0;
    bool Connected = false;
    bool FactoryArmed = false;
    bool TimedOut = false;
    QString SerialNumberText = QStringLiteral("Unknown");
    QString SoftwareVersionText = QStringLiteral("Unknown");
    QString HardwareVersionText = QStringLiteral("Unknown");
    QString UnitVersionText[4] = {QStringLiteral("Unknown"), QStringLiteral("Unknown"), QStringLiteral("Unknown"),
                                  QStringLiteral("Unknown")}; // U101, U201, U301, U401
    quint8 EditCurveNumber = 99;
    bool NewUnitMode = false;
    bool AskUser = true;
    bool NewUnitUploadPending = false;
    qint16 UploadCategory[15] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};   // 1..14
    qint16 DownloadCategory[15] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1, 1}; // 1..14

    // --- transfer and factory values ----------------------------------------------
    quint8 DialogAnswer = 0; // 0 pending, 1 CANCEL, 2 CONTINUE
    bool DownloadMode = false;
    quint8 ProductCode = 0;
    quint8 NewSoftwareVersion = 0;
    bool NewSoftwareVersionEntered = false; // a version was typed in this run
    quint8 NewSerialBytes[5] = {};          // 1..4: Y, MM, DD, nnn
    quint16 CodeSectorCount = 0;
    quint16 CodeTargetAddress = 0;

    // --- NMEA selection ------------------------------------------------------------
    quint8 NmeaSelectionIndex = 0;
    quint8 NmeaChannel = 1;
    bool NmeaMonitorRunning = false;

    // --- sender window list positions --------------------------------------------------
    SenderListPositions SenderPositions;
    // Called after SenderPositions were set from a new image (defaults, file load).
    std::function<void()> onSenderPositionsChanged;

    // --- helpers -------------------------------------------------------------------
    quint16 systemWord(int index) const { return quint16(SystemBlock[index] * 256 + SystemBlock[index + 1]); }
    void setSystemWord(int index, quint16 v)
    {
        SystemBlock[index] = quint8(v >> 8);
        SystemBlock[index + 1] = quint8(v & 0xFF);
    }
    quint16 blockWord(int block, int index) const
    {
        return quint16(ConfigBlock[block][index] * 256 + ConfigBlock[block][index + 1]);
    }
    void setBlockWord(int block, int index, quint16 v)
    {
        ConfigBlock[block][index] = quint8(v >> 8);
        ConfigBlock[block][index + 1] = quint8(v & 0xFF);
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
    X(SystemBlock) X(ConfigBlock) X(CalCurve) X(ComPortNumber) X(CurrentConfig) X(ConfigFileName)              \
    X(NmeaTableFileName) X(DecimalPointsFileName) X(FileHeaderLines) X(VersionText) X(InputScratch)            \
    X(MsgAnswer) X(ExitPrompted) X(Connected) X(FactoryArmed) X(TimedOut) X(SerialNumberText)                  \
    X(SoftwareVersionText) X(HardwareVersionText) X(UnitVersionText) X(EditCurveNumber) X(NewUnitMode)         \
    X(AskUser) X(NewUnitUploadPending) X(UploadCategory) X(DownloadCategory) X(DialogAnswer) X(DownloadMode)   \
    X(ProductCode) X(NewSoftwareVersion) X(NewSoftwareVersionEntered) X(NewSerialBytes) X(CodeSectorCount)     \
    X(CodeTargetAddress) X(NmeaSelectionIndex) X(NmeaChannel) X(NmeaMonitorRunning) X(SenderPositions)
// clang-format on

// Brings `target` the values that `changed` holds differently from `base`, element by
// element (one byte of a block, one point of a curve); everything else in `target`
// stays. Two copies of the state that went their own ways since `base` are merged so.
void mergeChangedValues(EditorState &target, const EditorState &base, const EditorState &changed);

// XOR of bytes 1..255 of a 256-byte system block.
quint8 systemBlockChecksum(const quint8 *block);
// XOR of bytes 1..127 of one display configuration block.
quint8 configBlockChecksum(const quint8 *block);
