// corvane-cli archive list|log|show|diff|sync: reading and sharing the instrument archive.
#include "cli/ArchiveCommands.h"

#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "core/CompareText.h"
#include "core/ConfigFile.h"

#include <QCommandLineParser>

namespace cli
{

namespace
{

const char kDescription[] = "The archive keeps an entry for every operation with an instrument: its identity,\n"
                            "the operation and its outcome, who ran it and when, and the image as far as the\n"
                            "operation knew it, in a git repository (one folder per serial number). An\n"
                            "instrument's history takes each part of the image from the newest entry that\n"
                            "knows it.\n\n"
                            "Subcommands:\n"
                            "  list                      one line per instrument: serial number, entries,\n"
                            "                            last seen, last operation\n"
                            "  log SERIAL                one line per entry, newest first: entry id, time,\n"
                            "                            operation, outcome, fields changed since the entry before\n"
                            "  show SERIAL [ID] OUT.CFG  writes the image of the entry (the newest by default)\n"
                            "                            as a configuration file\n"
                            "  diff SERIAL ID1 ID2       what differs between two entries, as compare lists it\n"
                            "  sync [--remote PATH_OR_URL]\n"
                            "                            fetches from the workshop repository, merges, and\n"
                            "                            sends this archive's entries back";

struct Call {
    Console &console;
    archive::Archive archive;
    QStringList args; // after the subcommand
    QString remote;
};

int refuse(Console &console, const QString &text)
{
    console.note(QStringLiteral("corvane-cli archive: ") + text);
    return kExitRefused;
}

QString isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

QString changedText(int fields)
{
    if (fields < 0)
        return QStringLiteral("-");
    return QStringLiteral("%1 field%2 changed").arg(fields).arg(fields == 1 ? QString() : QStringLiteral("s"));
}

int list(Call &call)
{
    const auto answer = call.archive.instruments();
    if (!answer.ok())
        return refuse(call.console, answer.problem);
    QStringList lines;
    for (const archive::InstrumentSummary &i : answer.value)
        lines << QStringLiteral("%1  %2  %3  %4")
                     .arg(i.serialNumber, -10)
                     .arg(i.entries, 5)
                     .arg(isoTime(i.lastSeen), i.lastOperation);
    if (lines.isEmpty())
        call.console.note(QStringLiteral("The archive in %1 holds no entries.").arg(shownPath(call.archive.folder())));
    else
        call.console.result(lines.join(QLatin1Char('\n')));
    return kExitDone;
}

int log(Call &call)
{
    const auto answer = call.archive.entries(call.args.at(0));
    if (!answer.ok())
        return refuse(call.console, answer.problem);
    QStringList lines;
    for (const archive::Entry &e : answer.value)
        lines << QStringLiteral("%1  %2  %3  %4  %5")
                     .arg(e.id, isoTime(e.about.time), e.about.operation, archive::outcomeName(e.about.outcome),
                          changedText(e.fieldsChanged));
    call.console.result(lines.join(QLatin1Char('\n')));
    return kExitDone;
}

int show(Call &call)
{
    const QString id = call.args.size() == 3 ? call.args.at(1) : QString();
    const QString out = call.args.last();
    const auto answer = call.archive.image(call.args.at(0), id);
    if (!answer.ok())
        return refuse(call.console, answer.problem);
    EditorState state;
    answer.value.image.applyTo(state);
    const QString problem = writeConfigFile(state, out, answer.value.entry.about.time.toLocalTime());
    if (!problem.isEmpty())
        return refuse(call.console, QStringLiteral("%1 could not be written: %2.").arg(shownPath(out), problem));
    if (!answer.value.known.whole())
        call.console.note(QStringLiteral("Not known at that entry: %1. The file holds the bytes the entry kept "
                                         "for them.")
                              .arg(archive::Parts::all().without(answer.value.known).describe()));
    call.console.result(QStringLiteral("Entry %1 of instrument %2 written to %3.")
                            .arg(answer.value.entry.id, call.args.at(0), shownPath(out)));
    return kExitDone;
}

int diff(Call &call)
{
    const auto answer = call.archive.differences(call.args.at(0), call.args.at(1), call.args.at(2));
    if (!answer.ok())
        return refuse(call.console, answer.problem);
    call.console.result(fields::comparisonText(answer.value, answer.value, call.args.at(1), call.args.at(2)).trimmed());
    return kExitDone;
}

int sync(Call &call)
{
    const QString remote = call.remote.isEmpty() ? archive::Settings::load().workshop : call.remote;
    if (remote.isEmpty())
        return refuse(call.console, QStringLiteral("no workshop repository is set: give --remote PATH_OR_URL."));
    const auto answer = call.archive.synchronise(remote);
    if (!answer.ok())
        return refuse(call.console, answer.problem);
    call.console.result(QStringLiteral("Synchronised with %1: %2 entries received, %3 sent.")
                            .arg(remote)
                            .arg(answer.value.received)
                            .arg(answer.value.sent));
    return kExitDone;
}

struct Subcommand {
    const char *name;
    int minArgs, maxArgs;
    int (*run)(Call &);
};

const Subcommand kSubcommands[] = {
    {"list", 0, 0, list}, {"log", 1, 1, log}, {"show", 2, 3, show}, {"diff", 3, 3, diff}, {"sync", 0, 0, sync},
};

} // namespace

QString archiveSynopsis()
{
    return QStringLiteral("archive list|log|show|diff|sync");
}

QString archiveSummary()
{
    return QStringLiteral("Read or share the archive of every instrument");
}

int archiveCommand(const QStringList &arguments, Console &console)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1Char('\n') + QLatin1String(kDescription));
    parser.addHelpOption();
    const QCommandLineOption folder(QStringLiteral("archive"),
                                    QStringLiteral("The archive's folder (default: the editor's setting, else "
                                                   "\"archive\" in the per-user data folder)."),
                                    QStringLiteral("dir"));
    const QCommandLineOption off(QStringLiteral("no-archive"), QStringLiteral("Record nothing."));
    const QCommandLineOption remote(QStringLiteral("remote"),
                                    QStringLiteral("sync: the workshop repository, a folder or an ssh URL (default: "
                                                   "the editor's setting)."),
                                    QStringLiteral("path or URL"));
    parser.addOptions({folder, off, remote});
    parser.addPositionalArgument(QStringLiteral("subcommand"), QStringLiteral("list, log, show, diff or sync."));
    if (!parser.parse(QStringList{arguments.value(0)} + arguments.mid(2)))
        return refuse(console, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help")) || positional.isEmpty()) {
        const QString help = QStringLiteral("Usage: corvane-cli archive [options] SUBCOMMAND [arguments]") +
                             parser.helpText().mid(parser.helpText().indexOf(QLatin1Char('\n')));
        if (positional.isEmpty() && !parser.isSet(QStringLiteral("help"))) {
            console.note(help);
            return kExitRefused;
        }
        console.result(help);
        return kExitDone;
    }
    if (parser.isSet(off))
        return refuse(console, QStringLiteral("--no-archive leaves no archive to read."));
    for (const Subcommand &s : kSubcommands) {
        if (positional.first() != QLatin1String(s.name))
            continue;
        const int count = int(positional.size()) - 1;
        if (count < s.minArgs || count > s.maxArgs)
            return refuse(console, QStringLiteral("wrong arguments for \"%1\". Run \"corvane-cli archive --help\".")
                                       .arg(positional.first()));
        Call call{
            console,
            archive::Archive(parser.isSet(folder) ? parser.value(folder) : archive::Settings::load().archiveFolder()),
            positional.mid(1), parser.value(remote)};
        return s.run(call);
    }
    return refuse(
        console,
        QStringLiteral("unknown subcommand \"%1\". Run \"corvane-cli archive --help\".").arg(positional.first()));
}

} // namespace cli
