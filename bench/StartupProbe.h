// The editor's start-up time to its first shown window, and its peak memory, measured on the program itself.
#pragma once

#include <QString>

struct StartupResult {
    bool ok = false;
    double seconds = 0; // from starting the process to the main window's first show event
    long peakKiB = 0;   // the process's peak resident memory
    QString error;
};

// Starts `editorProgram` under the offscreen platform with CORVANE_STARTUP_PROBE set:
// it prints the monotonic time of the main window's first show event and exits.
StartupResult probeStartup(const QString &editorProgram);
