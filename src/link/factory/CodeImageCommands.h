// The factory window's code image commands: HEX to .COD, flash ROM to .COD, .COD to 24C512, 24C512 to flash ROM.
#pragma once

#include "core/factory/CodeImage.h"
#include "link/factory/FactorySteps.h"

namespace factory
{

// "Read code from HEX file and create .COD file".
CommandEnd hexToCodeFile(FactorySession &s);
// "Read from Flash ROM and Save to .COD File": the file is written only once every sector was read.
CommandEnd flashToCodeFile(FactorySession &s);
// "Read code from .COD File and Save to 24C512": file, target address, then the transfer.
CommandEnd codeFileTo24C512(FactorySession &s);
// "Copy Code from 24C512 to Flash at location 7,168": at most 8 sectors; clears system block byte 8 of the image.
CommandEnd copyCodeToFlash(FactorySession &s);

// Writes a checked code image into the 24C512 from `address` on, sector by sector with a
// "Writing Sector " line each and the progress window at Int(16 b / S); connects first.
// Also used by "Make NEW Brevo" for each program module. Echoes that never came are
// counted by the link (the caller reports them).
// Cancelled when Cancel was pressed in the progress window (between whole sectors).
CommandEnd writeCodeImage(FactorySession &s, const CodeImage &image, int address);

} // namespace factory
