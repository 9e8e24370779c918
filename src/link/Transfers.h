// Upload, download, backup and restore: the instrument operations that move whole memories.
#pragma once

#include <QDate>
#include <QTime>
#include <functional>

struct InstrumentContext;
class frmBeingSentReceived;

namespace transfer {

// The PC's date and time at the moment they are needed (tests fix them).
struct PcClock {
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QTime()> time = [] { return QTime::currentTime(); };
};

// These procedures throw LinkLost when the port goes away midway; run them inside
// runInstrumentOperation, which holds the busy guard and reports the loss.

// How an operation ended, for callers and tests.
enum class Outcome { Cancelled, NotConnected, Refused, Done, Failed };

// The upload (button "Upload Display Configurations To Corvane").
Outcome Upload(InstrumentContext &ctx, frmBeingSentReceived &window, const PcClock &pc = PcClock());
// The download (button "Download Display Configurations From Corvane").
Outcome Download(InstrumentContext &ctx, frmBeingSentReceived &window);
// "Create System Backup" and "Restore All from Backup" (after their confirmation).
Outcome CreateBackup(InstrumentContext &ctx);
Outcome RestoreBackup(InstrumentContext &ctx);

} // namespace transfer
