// The instrument's memories read back into a configuration image: for comparing with
// the editor, and for checking an upload.
#pragma once

#include "core/ConfigImage.h"
#include "link/ConfirmedRead.h"

#include <QString>
#include <array>
#include <optional>

struct InstrumentContext;
class SerialLink;

namespace transfer
{

inline constexpr char kNotConnectedCorvane[] = "Not connected to Corvane";

// Upload, download and compare alike: connect when needed, then read the instrument's
// settings with the progress window showing 0. Empty when no connection was made.
std::optional<ConfirmedRead> connectAndReadSettings(InstrumentContext &ctx);
// The closing frame `code`; the editor no longer counts as connected.
void leaveCommandMode(InstrumentContext &ctx, int code, const char *label);

// The settings block (internal NVM 0..255), two readings the same; ok when its
// checksum matches as well.
ConfirmedRead readSettingsBlock(SerialLink &link);
// The same, and when ok its counter of new configurations replaces the one the
// connection read unchecked.
ConfirmedRead readSystemBlock(InstrumentContext &ctx);
// One 64-byte sector of the 24C512 into `sector`; false when no two readings agreed.
bool readSector(SerialLink &link, int address, quint8 *sector);
// A 128-byte block of the 24C512 (two sectors); false when a sector did not arrive.
bool readBlock(SerialLink &link, int address, quint8 *block);

struct InstrumentImage {
    bool ok = false;
    QString problem; // what could not be read, for the user
    ConfigImage image;
};

// Takes the settings block `settings` (as connectAndReadSettings read it; not ok: the
// image is not ok either) and reads the 16 display configurations and the sender
// curves an upload writes (the instrument must be in command mode). A curve stored exactly as the
// editor would encode its own is taken from `editor`, so that only real differences
// show; the curves an upload never writes are the editor's too. Progress runs from
// `progressFrom` to `progressTo`.
InstrumentImage readInstrumentImage(InstrumentContext &ctx, const ConfirmedRead &settings, const ConfigImage &editor,
                                    int progressFrom, int progressTo);

} // namespace transfer
