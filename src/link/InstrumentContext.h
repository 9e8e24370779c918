// Everything an instrument operation works with, handed over in one piece.
#pragma once

#include <functional>

struct EditorState;
class Prompts;
class SerialLink;
class InstrumentView;

struct InstrumentContext {
    EditorState &state;
    Prompts &prompts;
    SerialLink &link;
    InstrumentView &view;
    // Runs the connection procedure (it leaves state.link.connected telling the outcome).
    std::function<void()> connect;
    // Redraws the main window from the image.
    std::function<void()> redraw;

    // Connects unless connected; true when connected afterwards.
    bool ensureConnected();
};
