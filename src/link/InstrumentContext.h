// Everything an instrument operation works with, handed over in one piece.
#pragma once

#include <functional>

struct OperationRecord;
class Prompts;
class SerialLink;
class InstrumentView;

struct InstrumentContext {
    // The operation's own record: its input, and the result it fills in.
    OperationRecord &state;
    // Questions and messages (answered by the windows, a terminal or a test).
    Prompts &prompts;
    SerialLink &link;
    // What the operation reports as it goes (connection, identity, progress).
    InstrumentView &view;
    // Runs the connection procedure (it leaves state.link.connected telling the outcome).
    std::function<void()> connect;

    // Connects unless connected; true when connected afterwards.
    bool ensureConnected();
};
