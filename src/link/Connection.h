// Bringing the instrument into command mode and identifying it (connectToInstrument), and choosing the port.
#pragma once

#include <QtGlobal>

class Prompts;
class SerialLink;
class InstrumentView;
struct OperationRecord;

namespace connection
{
// Probes that go unanswered, and probe echoes not followed by 64, before the user
// is asked whether to try again.
constexpr int kMaxProbes = 25;
constexpr int kMaxRestarts = 25;
} // namespace connection

// Makes sure a port is chosen and open, wakes the instrument, switches it into
// command mode and reads its identity. On return state.link.connected tells whether the
// instrument is in command mode. Throws LinkLost when the port goes away meanwhile
// (see runInstrumentOperation); the caller holds the busy guard.
void connectToInstrument(OperationRecord &state, Prompts &prompts, SerialLink &link, InstrumentView &view);

// Keeps the instrument's counter of new configurations (internal memory bytes 10
// high, 11 low) in system block bytes 10 and 11 and shows it; erased memory (254 or
// 255 high) counts as 1. The connection reads the two bytes on their own, unchecked;
// the transfers call this again with the bytes of a confirmed settings block.
void storeNewConfigCounter(OperationRecord &state, InstrumentView &view, quint8 high, quint8 low);
