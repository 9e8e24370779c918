// The operations in real time, through corvane-sim on a pseudo-terminal, with the editor's processor time.
#pragma once

#include "Operations.h"

#include <QList>
#include <QStringList>

struct RealTimeResult {
    BenchOp op;
    bool ok = false;
    double seconds = 0;    // wall time of the measured part
    double cpuSeconds = 0; // this process's processor time meanwhile (the simulator runs in its own)
    QStringList told;      // messages the operation gave (none when all went well)
};

// The NMEA data monitor polling channel 1 for a while, after the operations.
struct MonitorResult {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    int characters = 0; // characters received and shown
};

// Starts `simProgram` serving a pseudo-terminal as COM1 in a temporary folder and
// runs `ops` in order against it, then the monitor for `monitor->seconds` when
// `monitor` is given. `error` says why nothing could be run.
QList<RealTimeResult> runRealTime(const QString &simProgram, const QList<BenchOp> &ops, QString *error,
                                  MonitorResult *monitor = nullptr);
