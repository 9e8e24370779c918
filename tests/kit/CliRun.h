// corvane-cli run in this process against a simulated instrument on the virtual clock,
// its standard output and error caught.
#pragma once

#include "Simulator.h"
#include "cli/Cli.h"
#include "kit/SimulatorPort.h"
#include "kit/VirtualClock.h"

#include <QStringList>
#include <QTextStream>

namespace kit
{

struct CliRun {
    int code = 0;
    QString out, err;
    QByteArray written; // every byte that reached the line
};

// Runs "corvane-cli ARGUMENTS" with the instrument `sim` on the line; COMn entries are
// looked for in `programFolder`.
inline CliRun runCli(Simulator &sim, const QStringList &arguments, const QString &programFolder = QString())
{
    VirtualClock clock;
    SimulatorPort port{sim, clock};
    CliRun run;
    QTextStream outStream(&run.out), errStream(&run.err);
    cli::Host host{{outStream, errStream, {}, false, false, {}, {}}, port, clock, programFolder, {}, {}, {}};
    run.code = cli::run(QStringList{QStringLiteral("corvane-cli")} + arguments, host);
    outStream.flush();
    errStream.flush();
    run.written = port.written;
    return run;
}

// The same with an instrument of its own.
inline CliRun runCli(const QStringList &arguments, const QString &programFolder = QString())
{
    Simulator sim;
    return runCli(sim, arguments, programFolder);
}

} // namespace kit
