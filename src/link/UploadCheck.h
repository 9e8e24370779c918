// Seeing an upload's effect: what it would change before it runs ("Compare first…"),
// and whether the instrument holds what it wrote ("Verify after Upload").
#pragma once

#include "link/Transfers.h"

#include <QString>
#include <array>

namespace transfer
{

struct Verification {
    bool matches = false;
    QString text; // for the user: "Verified: N bytes match", or what differs
};

// Reads back the settings block `settings` (0..255), and when sent the 16 display
// blocks and the uploaded curves, and compares them with what was written. The
// instrument must still be in command mode.
Verification verifyUpload(InstrumentContext &ctx, const quint8 *settings, const quint8 (*blocks)[129],
                          const std::array<quint8, 128> *curves, bool displaysSent, bool curvesSent);

// Connects, reads what the instrument holds, works out what the upload with the
// categories now chosen would leave there, leaves command mode and shows both.
void compareBeforeUpload(InstrumentContext &ctx, CategoryQuestion &question, const PcClock &pc);

} // namespace transfer
