// The factory default configuration image.
#pragma once

#include "core/DefaultImage.h"
#include "core/EditorState.h"

// Fills the editor's image with the factory defaults: sixteen display blocks, the empty
// calibration curves (or every curve while a new unit is provisioned), the system
// block; positions the sender lists and clears the loaded curve (session.editCurveNumber 99).
void writeDefaultsToRam(EditorState &state);
// Sender list positions for the sender type bytes of a system block (a type below
// a list's first number selects "0:  None"; one beyond the list's last entry too).
SenderListPositions senderPositionsFor(const quint8 *systemBlock);
// Sets state.senderPositions from the system block and tells the sender window.
void positionSenderLists(EditorState &state);

// Number of entries of each sender list (for the position checks).
namespace senders
{
constexpr int kEngineTempEntries = 7; // types 0..6
constexpr int kFuelEntries = 4;       // 0, 7, 8, 9
constexpr int kOilEntries = 8;        // 0, 10..16
constexpr int kTrimEntries = 6;       // 0, 17..21
constexpr int kSecondTankEntries = 4; // 0, 23..25
} // namespace senders
