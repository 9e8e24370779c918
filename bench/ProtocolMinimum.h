// The protocol minimum of each operation, counted in a run against the simulated instrument on the virtual clock.
#pragma once

#include "Operations.h"

#include <QList>

// The specified waits of an operation (every SendByte pause, every Delay, the settle
// after opening the port: the waits that end by their time, not by an answer) and
// its bytes in both directions. The minimum is the waits plus ten bits at 115200
// baud for every byte.
struct ProtocolCount {
    BenchOp op;
    double waits = 0;
    int bytesOut = 0;
    int bytesIn = 0;
    double virtualSeconds = 0; // the whole operation on the virtual clock
    bool ok = false;
    double minimum() const { return waits + (bytesOut + bytesIn) * 10.0 / 115200.0; }
};

// Runs `ops` in order on one simulated instrument, as the real-time run does.
QList<ProtocolCount> countProtocol(const QList<BenchOp> &ops);
