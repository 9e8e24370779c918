// The factory window's memory displays, single-byte programmers, in-system-programming and disconnect commands.
#pragma once

#include "core/factory/MemoryDisplays.h"
#include "link/factory/FactorySteps.h"

namespace factory
{

// Asks for a start address and a byte count, reads them with the memory's command and
// shows one line per byte ("Display ..." buttons).
CommandEnd displayMemory(FactorySession &s, Memory memory);

// "Program one byte of Internal NVM": writes one byte and mends the checksum at address 0.
CommandEnd programInternalNvmByte(FactorySession &s);
// "Program one byte of 24C512 NVM": writes one byte and shows what the memory then holds.
CommandEnd program24C512Byte(FactorySession &s);

// "Put Into ISP Mode (Use 24C512)" (command 9) and "(Use Philips)" (command 10).
CommandEnd enterIspMode(FactorySession &s, int command);

// "Clear RAM Disconnect ..." (command 255) and "Soft RESET Disconnect ..." (command 251).
CommandEnd disconnectAndClose(FactorySession &s, int command);

} // namespace factory
