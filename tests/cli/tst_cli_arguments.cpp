// corvane-cli refuses a bad command line with exit code 1 and a message, before the port is touched.
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "kit/CliRun.h"
#include "kit/TempProgramFolder.h"

#include <QRegularExpression>
#include <QTest>

namespace
{
using Options = QSet<QString>;

// The long options named in `text` ("--port", or "\\-\\-port" in a manual page), the help aside.
Options optionsIn(QString text)
{
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    Options options;
    static const QRegularExpression option(QStringLiteral("--([a-z][a-z-]*)"));
    for (auto it = option.globalMatch(text); it.hasNext();)
        options << it.next().captured(1);
    options.remove(QStringLiteral("help"));
    options.remove(QStringLiteral("help-all"));
    return options;
}

QString sourceFile(const QString &path)
{
    QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/") + path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The options "corvane-cli COMMAND --help" lists, as its parser knows them.
Options helpOptions(const QString &command)
{
    const QString out = kit::runCli({command, QStringLiteral("--help")}).out;
    const QString options = out.section(QStringLiteral("Options:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    return optionsIn(options);
}

// The options the manual page's synopsis gives `command` (one entry per ".br"; a line
// "corvane-cli backup | restore ..." names two commands).
Options manualOptions(const QString &command)
{
    const QString page = sourceFile(QStringLiteral("packaging/corvane-cli.1"));
    const QString synopsis = page.section(QStringLiteral(".SH SYNOPSIS\n"), 1).section(QStringLiteral(".SH "), 0, 0);
    for (const QString &entry : synopsis.split(QStringLiteral(".br\n"))) {
        QStringList names;
        static const QRegularExpression name(QStringLiteral("^\\.B (?:corvane-cli )?([a-z-]+)$"),
                                             QRegularExpression::MultilineOption);
        for (auto it = name.globalMatch(entry); it.hasNext();)
            names << it.next().captured(1);
        if (names.contains(command))
            return optionsIn(entry);
    }
    return {QStringLiteral("(no synopsis)")};
}

// The options the README's table of commands gives `command`.
Options readmeOptions(const QString &command)
{
    const QString readme = sourceFile(QStringLiteral("README.md"));
    const QString section =
        readme.section(QStringLiteral("## Command line\n"), 1).section(QStringLiteral("\n## "), 0, 0);
    for (const QString &line : section.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("| `")))
            continue;
        const QString cell = line.section(QLatin1Char('|'), 1, 1);
        static const QRegularExpression name(QStringLiteral("`([a-z-]+)"));
        for (auto it = name.globalMatch(cell); it.hasNext();)
            if (it.next().captured(1) == command)
                return optionsIn(cell);
    }
    return {QStringLiteral("(no row)")};
}

QByteArray sampleConfiguration()
{
    EditorState s;
    writeDefaultsToRam(s);
    return configFileText(s, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
}
} // namespace

class TestCliArguments : public QObject
{
    Q_OBJECT
private slots:
    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        // FILE.CFG below is a readable configuration file; BAD.CFG is not one.
        QTest::newRow("no command") << QStringList{} << "Usage: corvane-cli COMMAND";
        QTest::newRow("unknown command") << QStringList{"uplaod", "FILE.CFG"} << "unknown command \"uplaod\"";
        QTest::newRow("unknown option") << QStringList{"upload", "FILE.CFG", "--port", "COM1", "--yse"}
                                        << "Unknown option 'yse'";
        QTest::newRow("file missing") << QStringList{"upload", "--port", "COM1"} << "upload takes FILE.CFG";
        QTest::newRow("extra file") << QStringList{"backup", "X.CFG", "--port", "COM1"} << "backup takes no file names";
        QTest::newRow("no port") << QStringList{"upload", "FILE.CFG", "--yes"} << "--port is required";
        QTest::newRow("file absent") << QStringList{"upload", "NOWHERE.CFG", "--port", "COM1", "--yes"}
                                     << "NOWHERE.CFG\" could not be read";
        QTest::newRow("file malformed") << QStringList{"upload", "BAD.CFG", "--port", "COM1", "--yes"}
                                        << "BAD.CFG\" could not be read";
        QTest::newRow("category unknown")
            << QStringList{"upload", "FILE.CFG", "--port", "COM1", "--categories", "displays,15"}
            << "\"15\" is not a category";
        QTest::newRow("category empty") << QStringList{"upload", "FILE.CFG", "--port", "COM1", "--categories", "1,,2"}
                                        << "\"\" is not a category";
        QTest::newRow("category not downloadable")
            << QStringList{"download", "OUT.CFG", "--port", "COM1", "--categories", "damping,displays"}
            << "1 (Display Configurations) cannot be chosen here; this command takes 8, 9, 10, 11, 13, 14";
        QTest::newRow("no terminal, no --yes") << QStringList{"backup", "--port", "COM1"} << "run again with --yes";
        QTest::newRow("HEX malformed") << QStringList{"hex-to-cod", "BAD.CFG", "OUT.COD"} << "No .COD file was written";
        // A file's control characters are shown, not obeyed by the terminal.
        QTest::newRow("HEX with an escape sequence")
            << QStringList{"hex-to-cod", "ESC.HEX", "OUT.COD"} << "\"\\x1b\" at character 2";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        TempProgramFolder folder;
        QFile::link(QStringLiteral("/dev/null"), folder.file(QStringLiteral("COM1")));
        QVERIFY(folder.write("FILE.CFG", sampleConfiguration()));
        QVERIFY(folder.write("BAD.CFG", "not a configuration\r\n"));
        QVERIFY(folder.write("ESC.HEX", ":\x1b]0;title\x07\x1b[31m\r\n"));
        QDir::setCurrent(folder.path());

        const kit::CliRun run = kit::runCli(arguments, folder.path());

        QCOMPARE(run.code, cli::kExitRefused);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.contains(QChar(0x1b)));
        // Refused before anything reached the line, and nothing was written.
        QVERIFY(run.written.isEmpty());
        QVERIFY(!folder.exists("OUT.COD"));
        QVERIFY(!folder.exists("OUT.CFG"));
    }

    // The help, the manual page and the README name the same options for each command.
    void documentedOptions_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *c : {"upload", "download", "backup", "restore", "reset-defaults", "hex-to-cod", "ports",
                              "compare", "report", "merge"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void documentedOptions()
    {
        QFETCH(QString, command);
        const Options parser = helpOptions(command);
        QCOMPARE(manualOptions(command), parser);
        QCOMPARE(readmeOptions(command), parser);
    }
};

QTEST_GUILESS_MAIN(TestCliArguments)
#include "tst_cli_arguments.moc"
