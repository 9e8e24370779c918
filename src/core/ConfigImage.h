// A copy of the configuration image alone (system block, display blocks, curves):
// what undo keeps and what two compared configurations are.
#pragma once

#include "core/ImageBytes.h"

struct ConfigFileImage;
struct EditorState;

struct ConfigImage {
    quint8 system[257] = {};      // 0..256 (256 is kept in storage only)
    quint8 blocks[17][128] = {};  // blocks 1..16, bytes 0..127
    float curves[33][33][3] = {}; // curves 1..32, points 1..32, fields 1 (ohms) and 2 (value x 10)
    // The serial port the editor's file names (Open loads it, Save writes it);
    // kPortNotKnown for an instrument's memories, which hold none.
    static constexpr int kPortNotKnown = -1;
    int comPort = kPortNotKnown;

    // The editor's image with its port.
    static ConfigImage of(const EditorState &state);
    // The bytes alone (an operation's record): the port is not known.
    static ConfigImage of(const ImageBytes &image);
    // A configuration file as loading it would leave the image (byte 6 is 1).
    static ConfigImage of(const ConfigFileImage &file);
    // Copies the image (and the port, when known) into the editor's state; nothing
    // else of the state changes.
    void applyTo(EditorState &state) const;
    // Copies the bytes alone.
    void applyTo(ImageBytes &image) const;

    quint16 systemWord(int index) const { return quint16(system[index] * 256 + system[index + 1]); }
    quint16 blockWord(int block, int index) const
    {
        return quint16(blocks[block][index] * 256 + blocks[block][index + 1]);
    }

    // Byte for byte, curves by their bits, and the port.
    bool operator==(const ConfigImage &other) const;
    bool operator!=(const ConfigImage &other) const { return !(*this == other); }
};
