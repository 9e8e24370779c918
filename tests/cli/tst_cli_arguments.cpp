// corvane-cli refuses a bad command line with exit code 1 and a message, before the port is touched.
#include "Simulator.h"
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"

#include <QTest>

namespace
{
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
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        TempProgramFolder folder;
        QFile::link(QStringLiteral("/nonexistent-serial-device"), folder.file(QStringLiteral("COM1")));
        QVERIFY(folder.write("FILE.CFG", sampleConfiguration()));
        QVERIFY(folder.write("BAD.CFG", "not a configuration\r\n"));
        QDir::setCurrent(folder.path());

        VirtualClock clock;
        Simulator sim;
        SimulatorPort port{sim, clock};
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::Host host{{outStream, errStream, {}, false, false}, port, clock, folder.path(), {}, {}, {}};
        const int code = cli::run(QStringList{QStringLiteral("corvane-cli")} + arguments, host);

        QCOMPARE(code, cli::kExitRefused);
        QVERIFY2(err.contains(message), qPrintable(err));
        QVERIFY(out.isEmpty());
        // Refused before anything reached the line, and nothing was written.
        QVERIFY(port.written.isEmpty());
        QVERIFY(!folder.exists("OUT.COD"));
        QVERIFY(!folder.exists("OUT.CFG"));
    }
};

QTEST_GUILESS_MAIN(TestCliArguments)
#include "tst_cli_arguments.moc"
