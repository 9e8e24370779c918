// End to end in real time: corvane-cli uploads to and downloads from corvane-sim over a pseudo-terminal.
#include "SimMemory.h"
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "kit/SimProgram.h"
#include "kit/TempProgramFolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace
{
QString cliProgram()
{
    return QFileInfo(simProgramPath()).dir().filePath(QStringLiteral("corvane-cli"));
}

// corvane-sim serving <folder>/COM1, with `faults` among its options.
struct SimulatedInstrument {
    QProcess process;
    bool start(const TempProgramFolder &folder, const QStringList &faults)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(simProgramPath(),
                      QStringList{"--link", folder.file("COM1"), "--memory", folder.file("mem.bin")} + faults);
        return process.waitForStarted(5000) &&
               QTest::qWaitFor([&] { return QFileInfo(folder.file("COM1")).isSymLink(); }, 5000);
    }
    ~SimulatedInstrument()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};

struct Run {
    int code = -1;
    QString out, err;
    qint64 ms = 0;
};

Run runCli(const TempProgramFolder &folder, const QStringList &arguments)
{
    QProcess p;
    p.setWorkingDirectory(folder.path());
    p.setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(cliProgram(), arguments + QStringList{"--port", folder.file("COM1"), "--yes"});
    Run r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("corvane-cli did not end");
        return r;
    }
    r.ms = timer.elapsed();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The same image but for the instrument's upload counter (bytes 10, 11), which every
// connection takes into the image, and the checksum over it (byte 0).
bool sameImage(ConfigFileImage a, ConfigFileImage b)
{
    for (int i : {0, 10, 11})
        a.system[i] = b.system[i] = 0;
    for (int i = 0; i < 256; ++i)
        if (a.system[i] != b.system[i])
            qWarning() << "system byte" << i << a.system[i] << b.system[i];
    return memcmp(a.system, b.system, sizeof a.system) == 0 && memcmp(a.blocks, b.blocks, sizeof a.blocks) == 0 &&
           memcmp(a.curves, b.curves, sizeof a.curves) == 0;
}
} // namespace

class TestCliPty : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        if (!QFileInfo(simProgramPath()).isExecutable() || !QFileInfo(cliProgram()).isExecutable())
            QSKIP("corvane-sim or corvane-cli is not built");
    }

    void uploadThenDownloadGivesTheFileBack()
    {
        TempProgramFolder folder;
        // The factory defaults, changed in every category a download brings back.
        EditorState s;
        writeDefaultsToRam(s);
        s.systemBlock[2] = 7;    // tacho sensitivity
        s.systemBlock[46] = 13;  // a time-of-day alarm
        s.systemBlock[66] = 42;  // race timers
        s.systemBlock[104] = 5;  // damping
        s.systemBlock[112] = 99; // fine calibration
        s.systemBlock[150] = 77; // an alarm value
        QVERIFY(writeConfigFile(s, folder.file("BOAT.CFG")).isEmpty());
        SimulatedInstrument sim;
        QVERIFY(sim.start(folder, {}));

        const Run up = runCli(folder, {"upload", folder.file("BOAT.CFG")});
        QVERIFY2(up.code == cli::kExitDone, qPrintable(up.err));
        QVERIFY2(up.out.contains("display configurations 1 to 16"), qPrintable(up.out));
        const Run down = runCli(folder, {"download", folder.file("BACK.CFG")});
        QVERIFY2(down.code == cli::kExitDone, qPrintable(down.err));

        ConfigFileImage sent, back;
        QVERIFY(readConfigFile(folder.file("BOAT.CFG"), sent).ok);
        QVERIFY(readConfigFile(folder.file("BACK.CFG"), back).ok);
        QVERIFY(sameImage(sent, back));
        QCOMPARE(back.system[10] * 256 + back.system[11], 4); // the factory's 3, advanced by the upload
    }

    void missingInstrumentEndsInBoundedTime_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent") << QStringList{"--silent"} << cli::kExitNotFound << "No Corvane answered on";
        QTest::newRow("never in command mode")
            << QStringList{"--never-64"} << cli::kExitNotFound << "No Corvane answered on";
        // Connecting takes about 70 bytes; the link goes during the settings.
        QTest::newRow("unplugged") << QStringList{"--disconnect-after", "200"} << cli::kExitIncomplete
                                   << "display configurations were not";
        QTest::newRow("damaged settings")
            << QStringList{"--bad-checksum"} << cli::kExitIncomplete << "Nothing was written";
    }
    void missingInstrumentEndsInBoundedTime()
    {
        QFETCH(QStringList, faults);
        QFETCH(int, code);
        QFETCH(QString, message);
        TempProgramFolder folder;
        EditorState s;
        writeDefaultsToRam(s);
        QVERIFY(writeConfigFile(s, folder.file("BOAT.CFG")).isEmpty());
        SimulatedInstrument sim;
        QVERIFY(sim.start(folder, faults));

        const Run up = runCli(folder, {"upload", folder.file("BOAT.CFG"), "--categories", "displays"});
        QVERIFY2(up.code == code, qPrintable(QStringLiteral("exit %1\n%2").arg(up.code).arg(up.err)));
        QVERIFY2(up.err.contains(message), qPrintable(up.err));
        QVERIFY2(!up.out.contains("done"), qPrintable(up.out));
        QVERIFY2(up.ms < 60000, qPrintable(QString::number(up.ms)));
    }
};

QTEST_GUILESS_MAIN(TestCliPty)
#include "tst_cli_pty.moc"
