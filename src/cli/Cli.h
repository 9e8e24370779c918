// corvane-cli: the command table and the one entry point, independent of the real
// terminal, port and clock so that tests can run it against the simulated instrument.
#pragma once

#include "cli/Console.h"
#include "link/Transfers.h"

#include <QStringList>
#include <functional>

class BytePort;
class Clock;
class SerialLink;

namespace cli
{

// Exit codes.
constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;    // bad command line, unreadable file, a question not confirmed
constexpr int kExitNotFound = 2;   // no port, or no instrument answered on it
constexpr int kExitIncomplete = 3; // the transfer did not complete

// What the program runs with.
struct Host {
    Console::Streams streams;
    BytePort &port;
    Clock &clock;
    // COMn entries are looked for in the working folder chosen for this folder.
    QString programFolder;
    transfer::PcClock pc;
    // The system's serial ports; empty: as the system reports them.
    std::function<QStringList()> systemPorts;
    // Told the link of the running operation (nullptr once it ended), so that an
    // interrupt can ask it to stop between whole blocks.
    std::function<void(SerialLink *)> onOperation;
};

// Runs the command line `arguments` (the program name first) and returns the exit code.
int run(const QStringList &arguments, Host &host);

} // namespace cli
