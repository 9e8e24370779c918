// One line to a complete link bench: state, scripted prompts, virtual clock, simulated instrument, port, link, view.
#pragma once

#include "Simulator.h"
#include "kit/RecordingView.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimulatorPort.h"
#include "kit/VirtualClock.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

// Port number n opens the device "COMn"; 0 opens nothing.
QString fixtureDevice(int n);

struct LinkFixture {
    OperationRecord state; // the operation's record: what the procedures read and write
    ScriptedPrompts prompts;
    VirtualClock clock;
    Simulator sim;
    SimulatorPort port{sim, clock};
    RecordingView view;
    SerialLink link{state.link, prompts, clock, port, fixtureDevice};

    explicit LinkFixture(int comPort = 3);

    // connectToInstrument on this bench.
    void connect();
    // The bytes the instrument received and sent since the last clearLog().
    QByteArray toInstrument() const { return sim.receivedBytes(); }
    QByteArray fromInstrument() const { return sim.sentBytes(); }
};

// Bytes from a list of values: bytes({61, 4, 5}).
QByteArray bytes(std::initializer_list<int> values);
// `count` copies of `value`.
QByteArray repeated(int value, int count);
