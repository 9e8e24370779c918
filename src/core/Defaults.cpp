#include "core/Defaults.h"

#include "core/ImageLayout.h"

#include <cmath>
#include <cstring>

namespace
{

// System block defaults, bytes 0..255.
const quint8 kSystemDefaults[256] = {
    0,   26,  14,  0,   0,   1,   1,   5,   0,   0,   0,   0,   8,   11,  5,   1,   // 0..15
    0,   255, 255, 255, 0,   3,   232, 3,   232, 10,  3,   232, 3,   232, 3,   232, // 16..31
    0,   3,   232, 3,   232, 3,   232, 3,   232, 3,   232, 3,   232, 50,  0,   0,   // 32..47
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   // 48..63
    3,   232, 5,   10,  35,  84,  5,   35,  52,  1,   28,  15,  1,   20,  101, 2,   // 64..79
    20,  101, 2,   0,   0,   0,   16,  9,   6,   16,  9,   10,  1,   244, 255, 255, // 80..95
    255, 255, 7,   20,  3,   11,  0,   23,  3,   0,   3,   10,  10,  0,   0,   3,   // 96..111
    232, 3,   46,  224, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, // 112..127
    0,   0,   39,  15,  0,   0,   0,   250, 0,   0,   7,   8,   0,   0,   3,   231, // 128..143
    0,   0,   3,   231, 0,   0,   255, 255, 0,   0,   38,  172, 0,   0,   3,   231, // 144..159
    0,   0,   12,  228, 0,   0,   12,  228, 0,   0,   12,  228, 0,   100, 3,   132, // 160..175
    0,   0,   3,   231, 0,   0,   39,  15,  0,   0,   39,  15,  0,   0,   39,  15,  // 176..191
    0,   0,   39,  15,  0,   0,   39,  15,  0,   0,   39,  15,  0,   0,   39,  15,  // 192..207
    0,   0,   39,  15,  0,   0,   3,   231, 0,   0,   3,   231, 0,   0,   3,   231, // 208..223
    0,   0,   3,   231, 0,   0,   3,   231, 0,   0,   3,   231, 0,   0,   3,   231, // 224..239
    0,   0,   3,   231, 0,   0,   3,   231, 0,   0,   3,   231, 255, 255, 255, 255, // 240..255
};

// Display block bytes that differ from 255, per block 1..16 (blocks 7..15 alike).
// clang-format off
const int kDefaultedBytes[] = {
    layout::kBlockChecksum,
    layout::kIconBytes, layout::kIconBytes + 1, layout::kIconBytes + 2, layout::kIconBytes + 3,
    layout::kDisplay1Source, layout::kDisplay2Source, layout::kDisplay3Source,
    layout::kLeftBarSource,
    layout::kLeftBarLower, layout::kLeftBarLower + 1, layout::kLeftBarUpper, layout::kLeftBarUpper + 1,
    layout::kRightBarSource,
    layout::kRightBarLower, layout::kRightBarLower + 1, layout::kRightBarUpper, layout::kRightBarUpper + 1,
};
// clang-format on
constexpr int kBlockByteCount = int(sizeof kDefaultedBytes / sizeof kDefaultedBytes[0]);

// Columns: blocks 1, 2, 3, 4, 5, 6, 7..15, 16.
const quint8 kBlockDefaults[kBlockByteCount][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},          // 0 checksum
    {0, 0, 192, 0, 128, 192, 0, 255},  // 1 icon mask 1
    {66, 12, 0, 68, 2, 0, 0, 127},     // 2 icon mask 2
    {64, 32, 64, 64, 64, 32, 0, 224},  // 3 icon mask 3
    {0, 0, 0, 0, 0, 0, 0, 5},          // 4 icon mask 4
    {25, 23, 25, 25, 25, 23, 0, 23},   // 28 display 1 source
    {23, 27, 29, 27, 23, 29, 0, 25},   // 48 display 2 source
    {24, 25, 30, 24, 29, 30, 0, 27},   // 68 display 3 source
    {0, 0, 0, 0, 0, 25, 0, 29},        // 88 left bar source
    {0, 0, 0, 0, 0, 0, 0, 0},          // 89
    {0, 0, 0, 0, 0, 0, 0, 0},          // 90
    {39, 39, 39, 39, 39, 0, 39, 1},    // 91
    {15, 15, 15, 15, 15, 100, 15, 44}, // 92
    {0, 0, 0, 0, 0, 24, 0, 30},        // 108 right bar source
    {0, 0, 0, 0, 0, 0, 0, 0},          // 109
    {0, 0, 0, 0, 0, 0, 0, 0},          // 110
    {39, 39, 39, 39, 39, 0, 39, 0},    // 111
    {15, 15, 15, 15, 15, 30, 15, 200}, // 112
};

int columnFor(int block)
{
    if (block <= 6)
        return block - 1;
    return block == 16 ? 7 : 6;
}

int positionOrNone(int position, int entries)
{
    return (position < 0 || position >= entries) ? 0 : position;
}

} // namespace

void fillLinearDefaultCurve(ImageBytes &state, int curve)
{
    for (int j = 1; j <= 32; ++j) {
        // Computed in double, stored as single precision.
        state.calCurve[curve][j][1] = float(std::floor(5.483871 * j + 4.516129));
        state.calCurve[curve][j][2] = float(std::floor(32.258065 * (j - 1)));
    }
}

SenderListPositions senderPositionsFor(const quint8 *sb)
{
    SenderListPositions p;
    p.fuel = positionOrNone(sb[layout::kFuelSender] - 6, senders::kFuelEntries);
    p.trim = positionOrNone(sb[layout::kTrimSender] - 16, senders::kTrimEntries);
    p.engineTemp = positionOrNone(sb[layout::kEngineTempSender], senders::kEngineTempEntries);
    p.oilPressure = positionOrNone(sb[layout::kOilSender] - 9, senders::kOilEntries);
    p.secondTank = positionOrNone(sb[layout::kSecondTankSender] - 22, senders::kSecondTankEntries);
    return p;
}

void positionSenderLists(EditorState &state)
{
    state.senderPositions = senderPositionsFor(state.systemBlock);
    if (state.onSenderPositionsChanged)
        state.onSenderPositionsChanged();
}

void writeDefaultsToRam(EditorState &state)
{
    writeDefaultImage(state, state.factory.newUnitMode);
    positionSenderLists(state);
    state.session.editCurveNumber = 99;
}

void writeDefaultImage(ImageBytes &state, bool newUnit)
{
    for (int n = 1; n <= 16; ++n) {
        std::memset(state.configBlock[n], 255, layout::kBlockBytes);
        const int column = columnFor(n);
        for (int r = 0; r < kBlockByteCount; ++r)
            state.configBlock[n][kDefaultedBytes[r]] = kBlockDefaults[r][column];
    }
    for (int k = 1; k <= 32; ++k) {
        if (state.calCurve[k][2][2] == 0.0f)
            fillLinearDefaultCurve(state, k);
    }
    if (newUnit) {
        for (int k = 1; k <= 32; ++k)
            fillLinearDefaultCurve(state, k);
    }
    std::memcpy(state.systemBlock, kSystemDefaults, layout::kSystemBytes); // byte 256 is not touched
}
