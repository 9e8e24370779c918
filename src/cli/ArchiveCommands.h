// corvane-cli archive: the instrument archive from a terminal.
#pragma once

#include "cli/Cli.h"

namespace cli
{

// The synopsis line and summary the general help lists.
QString archiveSynopsis();
QString archiveSummary();

// Runs "archive SUBCOMMAND ..." (`arguments` from the program name on).
int archiveCommand(const QStringList &arguments, Console &console);

} // namespace cli
