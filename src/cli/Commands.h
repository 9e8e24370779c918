// The commands of corvane-cli, each given the parsed command line.
#pragma once

#include "cli/Cli.h"

class TerminalPrompts;

namespace cli
{

struct Invocation {
    Host &host;
    Console &console;
    TerminalPrompts &prompts;
    QStringList arguments; // the command's file names, in order
    QString port;          // --port as given
    transfer::Categories categories{};
    QString base;        // --base (download)
    bool verify = false; // --verify (upload)
    // --archive and --no-archive: where the operation's entry is recorded, and whether.
    QString archiveFolder = {};
    bool keepArchive = true;
    std::array<bool, 17> configurations{}; // --configurations (merge): display configurations 1..16
};

int upload(Invocation &in);
int download(Invocation &in);
int backup(Invocation &in);
int restore(Invocation &in);
int resetDefaults(Invocation &in);
int hexToCod(Invocation &in);
int ports(Invocation &in);
int compare(Invocation &in);
// compare with one file and --port: the file against what the instrument holds.
int compareWithInstrument(Invocation &in);
// Needs a QGuiApplication (see main.cpp); refused without one.
int report(Invocation &in);
// BASE.CFG with the chosen categories (and display configurations) of FROM.CFG, as OUT.CFG.
int merge(Invocation &in);

// The categories a command may choose, and those it chooses when --categories is not given.
transfer::Categories uploadCategories();
transfer::Categories uploadDefaults();
transfer::Categories downloadCategories();
transfer::Categories downloadDefaults();
// Those a merge takes from a file: all but the instrument's clock.
transfer::Categories mergeCategories();

} // namespace cli
