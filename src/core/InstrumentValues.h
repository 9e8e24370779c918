// What the editor knows of the link and the instrument, and what a transfer moves:
// plain values an instrument operation is given as part of its input.
#pragma once

#include <QString>
#include <QtGlobal>

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
