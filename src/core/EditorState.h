// The configuration image and the editor's other state in small objects. The windows'
// thread owns it; an instrument operation is given what it needs as an input of its own.
#pragma once

#include "core/ImageBytes.h"
#include "core/InstrumentValues.h"
#include "core/OperationInput.h"
#include "core/SenderLists.h"

#include <QString>
#include <QtGlobal>
#include <functional>

// The editor's own session: the configuration shown, its file, the curve being edited.
struct EditorSession {
    quint8 currentConfig = 1;
    QString configFileName = QStringLiteral("DEFAULT.CFG");
    QString fileHeaderLines[6]; // 1..5
    QString versionText = QStringLiteral("Ver 1.0.3");
    quint8 editCurveNumber = 99; // 99 = none
    bool exitPrompted = false;   // the save question of the shutdown was asked
};

// The NMEA sentence selector and data monitor.
struct NmeaSession {
    quint8 selectionIndex = 0;
    quint8 channel = 1;
    bool monitorRunning = false;
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

// The input of an instrument operation from the editor's state: the image to send,
// the port, what is known of the instrument, the categories and the factory session.
OperationInput operationInput(const EditorState &state);
