#include "cli/Cli.h"

#include "cli/ArchiveCommands.h"
#include "cli/CategoryChoice.h"
#include "cli/Commands.h"
#include "cli/TerminalPrompts.h"
#include "core/FieldTable.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace cli
{

namespace
{

// kSecondFromPort: the last file argument may be left out when --port is given (the
// instrument stands in for it).
enum Option : unsigned {
    kPort = 1,
    kCategories = 2,
    kYes = 4,
    kBase = 8,
    kVerify = 16,
    kSecondFromPort = 32,
    kConfigurations = 64
};

struct Command {
    const char *name;
    QStringList arguments; // names of the file arguments, in order
    const char *summary;
    const char *description;
    unsigned options;
    int (*run)(Invocation &);
};

// One row per command.
const QList<Command> &commands()
{
    static const QList<Command> table{
        {"upload",
         {QStringLiteral("FILE.CFG")},
         "Upload a configuration file to the instrument",
         "Uploads the configuration file FILE.CFG to the instrument on --port, as the editor's \"Upload Display "
         "Configurations To Corvane\" does: the instrument's settings are read, the chosen categories laid over "
         "them and written back, then the display configurations, the sender curves and the clock, as chosen.",
         kPort | kCategories | kYes | kVerify,
         upload},
        {"download",
         {QStringLiteral("OUT.CFG")},
         "Download the instrument's settings into a configuration file",
         "Reads the instrument's settings and takes the chosen categories into a configuration, as the editor's "
         "\"Download Display Configurations From Corvane\" does, then saves it as OUT.CFG. The rest of the "
         "configuration comes from --base, or from OUT.CFG itself when it exists, or else from the factory "
         "defaults.",
         kPort | kCategories | kYes | kBase,
         download},
        {"backup",
         {},
         "Copy the instrument's data into its own backup area",
         "Has the instrument's settings and configuration memory copied into its backup area, as the editor's "
         "\"Create System Backup\" does.",
         kPort | kYes,
         backup},
        {"restore",
         {},
         "Restore the instrument's data from its backup area",
         "Copies the instrument's backup area back into its settings and configuration memory, as the editor's "
         "\"Restore All from Backup\" does. An instrument that holds no valid backup is left untouched (exit "
         "code 1).",
         kPort | kYes,
         restore},
        {"reset-defaults",
         {},
         "Upload the factory default configuration",
         "Uploads the factory default configuration (with the linear default sender curves), as the editor's "
         "\"Reset all values to Factory Defaults\" does.",
         kPort | kCategories | kYes,
         resetDefaults},
        {"hex-to-cod",
         {QStringLiteral("IN.HEX"), QStringLiteral("OUT.COD")},
         "Convert an Intel HEX file into a .COD code image",
         "Converts the bytes of the Intel HEX file IN.HEX for flash addresses 7168 to 8191 into the code image "
         "file OUT.COD, as the factory window's \"Read code from HEX file and create .COD file\" does.",
         0,
         hexToCod},
        {"ports",
         {},
         "List COM1 to COM16 and the devices behind them",
         "Lists the port numbers COM1 to COM16 as the editor's port chooser offers them, with the device each "
         "opens: a COMn entry in the working folder (a symbolic link, for example to /dev/ttyUSB0 or to "
         "corvane-sim), else the system's serial ports in the order ttyUSB, ttyACM, ttyS, others.",
         0,
         ports},
        {"compare",
         {QStringLiteral("A.CFG"), QStringLiteral("B.CFG")},
         "List what differs between two configuration files, or a file and the instrument",
         "Compares the configuration files A.CFG and B.CFG field by field and lists what differs as the editor's "
         "compare window does: grouped, each line \"name: value in A → value in B\", with a count per group. "
         "With --port and A.CFG alone, B is what the instrument holds (its settings, display configurations and "
         "sender curves, read as \"Compare with Instrument\" does; nothing is written). "
         "The exit status is 0 whenever both sides were read, whether or not they differ; 1 when a file cannot be "
         "read; 2 or 3 when the instrument cannot.",
         kSecondFromPort,
         compare},
        {"report",
         {QStringLiteral("FILE.CFG"), QStringLiteral("OUT.pdf")},
         "Write the configuration report of a file as PDF",
         "Writes the configuration report of FILE.CFG into OUT.pdf, as the editor's \"Export Report\" does: a "
         "title page, each of the 16 display configurations as the instrument's face with its data sources, "
         "alarm and bar limits and icons, the settings, and each sender curve as a chart with its points. Needs "
         "no display.",
         0,
         report},
        {"merge",
         {QStringLiteral("BASE.CFG"), QStringLiteral("FROM.CFG"), QStringLiteral("OUT.CFG")},
         "Take chosen parts of one configuration file into another",
         "Writes OUT.CFG: the configuration file BASE.CFG with exactly the bytes of the chosen categories taken "
         "from FROM.CFG, as the editor's \"Take Parts of a File\" does; everything else stays as BASE.CFG has it. "
         "The categories are those of the upload warning, but for the instrument's clock, which no file holds. "
         "With the display configurations, --configurations chooses which of the sixteen (all by default). "
         "OUT.CFG may be BASE.CFG itself; a file that cannot be written is left whole.",
         kCategories | kConfigurations,
         merge},
    };
    return table;
}

const char kExitStatus[] = "Exit status:\n"
                           "  0    done\n"
                           "  1    refused: a bad command line, a file that cannot be read, a question not\n"
                           "       confirmed (or one that cannot be asked: no terminal and no --yes), a\n"
                           "       restore from an instrument that holds no valid backup; nothing was written\n"
                           "  2    instrument not found: the port names no device, is not a serial port,\n"
                           "       cannot be opened, or no instrument answered on it\n"
                           "  3    transfer incomplete: the link was lost, an answer was damaged, bytes were\n"
                           "       not acknowledged, the transfer was interrupted, or the result could not\n"
                           "       be saved; the messages say what was and was not written\n"
                           "  130  interrupted at a question, or interrupted twice (Ctrl+C)\n";

QString programName()
{
    return QStringLiteral("corvane-cli");
}

// "  upload FILE.CFG            Upload ...": a synopsis too long for its column gets a
// line of its own, the summary below it in the column.
QString commandLine(const QString &synopsis, const QString &summary)
{
    constexpr int kColumn = 26;
    if (synopsis.size() < kColumn)
        return QStringLiteral("  %1 %2\n").arg(synopsis, -kColumn).arg(summary);
    return QStringLiteral("  %1\n  %2 %3\n").arg(synopsis, QString(kColumn, QLatin1Char(' ')), summary);
}

QString generalHelp()
{
    QString text = QStringLiteral("Usage: %1 COMMAND [options] [files]\n\n"
                                  "The Corvane's configuration from a terminal: the editor's upload, download, "
                                  "backup,\nrestore and factory reset over a serial port (115200 8N1), the "
                                  "HEX to .COD conversion,\nthe comparison and merging of configuration files and "
                                  "their PDF report.\n\nCommands:\n")
                       .arg(programName());
    for (const Command &c : commands()) {
        const QString synopsis = QString::fromLatin1(c.name) + QLatin1Char(' ') + c.arguments.join(QLatin1Char(' '));
        text += commandLine(synopsis.trimmed(), QString::fromLatin1(c.summary));
    }
    text += commandLine(archiveSynopsis(), archiveSummary());
    text += QStringLiteral("\n\"%1 COMMAND --help\" describes a command and its options.\n\n").arg(programName());
    return text + QLatin1String(kExitStatus);
}

QString argumentHelp(const QString &name)
{
    if (name == QLatin1String("FILE.CFG"))
        return QStringLiteral("The configuration file to read.");
    if (name == QLatin1String("A.CFG") || name == QLatin1String("B.CFG"))
        return QStringLiteral("A configuration file to compare.");
    if (name == QLatin1String("OUT.pdf"))
        return QStringLiteral("The PDF file to write.");
    if (name == QLatin1String("BASE.CFG"))
        return QStringLiteral("The configuration file that is kept but for the chosen parts.");
    if (name == QLatin1String("FROM.CFG"))
        return QStringLiteral("The configuration file the chosen parts are taken from.");
    if (name == QLatin1String("OUT.CFG"))
        return QStringLiteral("The configuration file to write.");
    if (name == QLatin1String("IN.HEX"))
        return QStringLiteral("The Intel HEX file to read.");
    return QStringLiteral("The code image file to write.");
}

// `text` broken into lines of at most `width` characters at blanks.
QString wrapped(const QString &text, int width = 79)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

void addOptions(QCommandLineParser &parser, const Command &c)
{
    parser.setApplicationDescription(QLatin1Char('\n') + wrapped(QString::fromUtf8(c.description)));
    parser.addHelpOption();
    if (c.options & (kPort | kSecondFromPort))
        parser.addOption({QStringLiteral("port"),
                          QStringLiteral("The serial port: COMn (COM1 to COM255) as the editor resolves it (see "
                                         "\"ports\"), or a device path such as /dev/ttyUSB0 (a symbolic link too). "
                                         "Required."),
                          QStringLiteral("port")});
    if (c.options & kCategories)
        parser.addOption({QStringLiteral("categories"),
                          QStringLiteral("Comma-separated category numbers or names (below), \"all\" or \"none\"."),
                          QStringLiteral("list")});
    if (c.options & kConfigurations)
        parser.addOption({QStringLiteral("configurations"),
                          QStringLiteral("The display configurations taken with category 1: numbers 1 to 16 and "
                                         "ranges such as 1,3-5, or \"all\" (the default)."),
                          QStringLiteral("list")});
    if (c.options & kBase)
        parser.addOption({QStringLiteral("base"),
                          QStringLiteral("The configuration file the downloaded settings are laid over."),
                          QStringLiteral("file")});
    if (c.options & kVerify)
        parser.addOption({QStringLiteral("verify"),
                          QStringLiteral("Before leaving command mode, read back everything written and compare: "
                                         "\"Verified: N bytes match\" (which also confirms bytes whose echo was "
                                         "missed), or the fields that differ (exit code 3).")});
    if (c.options & (kPort | kSecondFromPort)) {
        parser.addOption({QStringLiteral("archive"),
                          QStringLiteral("The instrument archive's folder (default: the editor's setting, else "
                                         "\"archive\" in the per-user data folder)."),
                          QStringLiteral("dir")});
        parser.addOption({QStringLiteral("no-archive"), QStringLiteral("Record nothing in the instrument archive.")});
    }
    if (c.options & kYes)
        parser.addOption(
            {QStringLiteral("yes"), QStringLiteral("Answer Yes to the confirmation, as the user who confirms would "
                                                   "(needed without a terminal). \"Can't find Corvane\" is then "
                                                   "answered No: no endless retries.")});
    for (const QString &a : c.arguments)
        parser.addPositionalArgument(a, argumentHelp(a));
}

transfer::Categories allowedCategories(const Command &c)
{
    if (c.run == download)
        return downloadCategories();
    return c.run == merge ? mergeCategories() : uploadCategories();
}

// A merge has no default: it takes what it is told.
transfer::Categories defaultCategories(const Command &c)
{
    if (c.run == download)
        return downloadDefaults();
    return c.run == merge ? transfer::Categories{} : uploadDefaults();
}

QString commandHelp(const QCommandLineParser &parser, const Command &c)
{
    QString text = parser.helpText();
    // Qt's first line names the running program; ours names the command.
    text = QStringLiteral("Usage: %1 %2 [options] %3")
               .arg(programName(), QString::fromLatin1(c.name), c.arguments.join(QLatin1Char(' ')))
               .trimmed() +
           text.mid(text.indexOf(QLatin1Char('\n')));
    if (c.options & kCategories)
        text += QStringLiteral("\nCategories (--categories):\n") +
                categoryTable(allowedCategories(c), defaultCategories(c)) + QLatin1Char('\n');
    return text + QLatin1Char('\n') + QLatin1String(kExitStatus);
}

const Command *findCommand(const QString &name)
{
    for (const Command &c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

int refuse(Console &console, const QString &text)
{
    console.note(programName() + QStringLiteral(": ") + text);
    return kExitRefused;
}

} // namespace

int run(const QStringList &arguments, Host &host)
{
    Console console(host.streams);
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        console.note(generalHelp());
        return kExitRefused;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        if (arguments.value(2) == QLatin1String("archive"))
            return archiveCommand({arguments.value(0), arguments.value(2), QStringLiteral("--help")}, console);
        const Command *c = findCommand(arguments.value(2));
        if (!c) {
            console.result(generalHelp());
            return kExitDone;
        }
        QCommandLineParser parser;
        addOptions(parser, *c);
        console.result(commandHelp(parser, *c));
        return kExitDone;
    }
    if (first == QLatin1String("--version")) {
        console.result(programName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return kExitDone;
    }
    if (first == QLatin1String("archive"))
        return archiveCommand(arguments, console);
    const Command *command = findCommand(first);
    if (!command)
        return refuse(
            console,
            QStringLiteral("unknown command \"%1\". Run \"%2 --help\" for the commands.").arg(first, programName()));

    QCommandLineParser parser;
    addOptions(parser, *command);
    if (!parser.parse(QStringList{arguments.value(0)} + arguments.mid(2)))
        return refuse(console, first + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        console.result(commandHelp(parser, *command));
        return kExitDone;
    }
    const QStringList files = parser.positionalArguments();
    const bool fromPort = (command->options & kSecondFromPort) && parser.isSet(QStringLiteral("port")) &&
                          files.size() == command->arguments.size() - 1;
    if (files.size() != command->arguments.size() && !fromPort)
        return refuse(console, QStringLiteral("%1 takes %2. Run \"%3 %1 --help\".")
                                   .arg(first,
                                        command->arguments.isEmpty() ? QStringLiteral("no file names")
                                                                     : command->arguments.join(QLatin1Char(' ')),
                                        programName()));

    TerminalPrompts prompts(console, (command->options & kYes) && parser.isSet(QStringLiteral("yes")));
    Invocation in{host, console, prompts, files, QString(), {}, QString()};
    if (command->options & kSecondFromPort)
        in.port = parser.value(QStringLiteral("port"));
    if (command->options & (kPort | kSecondFromPort)) {
        in.archiveFolder = parser.value(QStringLiteral("archive"));
        in.keepArchive = !parser.isSet(QStringLiteral("no-archive"));
    }
    if (command->options & kPort) {
        in.port = parser.value(QStringLiteral("port"));
        if (in.port.isEmpty())
            return refuse(console, first + QStringLiteral(": --port is required (COMn or a device path)."));
    }
    if (command->options & kCategories) {
        in.categories = defaultCategories(*command);
        if (parser.isSet(QStringLiteral("categories"))) {
            const CategoryParse parsed =
                parseCategories(parser.value(QStringLiteral("categories")), allowedCategories(*command));
            if (!parsed.ok())
                return refuse(console, first + QStringLiteral(": ") + parsed.error);
            in.categories = parsed.chosen;
        } else if (command->run == merge) {
            return refuse(
                console,
                first + QStringLiteral(": --categories is required (see \"%1 merge --help\").").arg(programName()));
        }
    }
    if (command->options & kConfigurations) {
        const ConfigurationParse parsed = parseConfigurations(parser.isSet(QStringLiteral("configurations"))
                                                                  ? parser.value(QStringLiteral("configurations"))
                                                                  : QStringLiteral("all"));
        if (!parsed.ok())
            return refuse(console, first + QStringLiteral(": ") + parsed.error);
        if (parser.isSet(QStringLiteral("configurations")) && !in.categories[fields::kDisplaysCategory])
            return refuse(console, first + QStringLiteral(": --configurations chooses display configurations; "
                                                          "add \"displays\" (1) to --categories."));
        in.configurations = parsed.chosen;
    }
    if (command->options & kBase)
        in.base = parser.value(QStringLiteral("base"));
    if (command->options & kVerify)
        in.verify = parser.isSet(QStringLiteral("verify"));
    return command->run(in);
}

} // namespace cli
