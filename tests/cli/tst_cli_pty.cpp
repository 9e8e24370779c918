// End to end in real time: corvane-cli uploads to and downloads from corvane-sim over a
// pseudo-terminal, and is interrupted from a terminal of its own as a user would (Ctrl+C).
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
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
        process.start(simProgramPath(), QStringList{"--link", folder.file("COM1"), "--memory", folder.file("mem.bin"),
                                                    "--log", folder.file("sim.log")} +
                                            faults);
        return process.waitForStarted(5000) &&
               QTest::qWaitFor([&] { return QFileInfo(folder.file("COM1")).isSymLink(); }, 5000);
    }
    ~SimulatedInstrument() { stop(); }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        process.waitForFinished(5000);
    }
};

// corvane-cli on a terminal of its own: what it shows, what is typed, Ctrl+C as the
// terminal sends it (the interrupt character, a signal to the foreground process group).
class Terminal
{
public:
    ~Terminal()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0)
            close(m_master);
    }
    bool start(const TempProgramFolder &folder, const QStringList &arguments)
    {
        std::vector<QByteArray> args{cliProgram().toLocal8Bit()};
        for (const QString &a : arguments)
            args.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const QByteArray dir = folder.path().toLocal8Bit();
        winsize size{};
        size.ws_row = 24;
        size.ws_col = 80;
        m_pid = forkpty(&m_master, nullptr, nullptr, &size);
        if (m_pid == 0) {
            if (chdir(dir.constData()) == 0)
                execv(argv[0], argv.data());
            _exit(127);
        }
        return m_pid > 0;
    }
    // Reads what the program shows until `text` appears; false after `seconds`.
    bool waitFor(const QByteArray &text, double seconds = 20)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_shown.contains(text) && timer.elapsed() < seconds * 1000)
            if (readSome(100) == Read::Ended)
                break;
        return m_shown.contains(text);
    }
    void type(const QByteArray &keys)
    {
        QVERIFY(write(m_master, keys.constData(), size_t(keys.size())) == keys.size());
    }
    void pressCtrlC() { type("\x03"); }
    // The exit code once the program ended (-1: it did not end within `seconds`).
    int finish(double seconds = 20)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < seconds * 1000) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                while (readSome(50) == Read::Some) {
                }
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            readSome(50);
        }
        return -1;
    }
    QString shown() const { return QString::fromUtf8(m_shown); }

private:
    enum class Read { Some, Nothing, Ended };
    Read readSome(int msecs)
    {
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, msecs) <= 0)
            return Read::Nothing;
        char buffer[4096];
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return Read::Ended;
        m_shown.append(buffer, int(n));
        return Read::Some;
    }

    pid_t m_pid = -1;
    int m_master = -1;
    QByteArray m_shown;
};

// The bytes corvane-sim received, from its --log file written when it ends.
int bytesReceived(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count(" in  "));
}

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
        // The user's words, each once: no log lines, the port as given, what was written said once.
        const QString all = up.out + up.err;
        QVERIFY2(!all.contains("corvane."), qPrintable(all));
        QVERIFY2(!all.contains("COM1 ("), qPrintable(all));
        QVERIFY2(all.count(message) == 1, qPrintable(all));
    }

    // Ctrl+C at the question ends the program at once and sends nothing, whatever is typed next.
    void interruptAtTheQuestion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("backup") << QStringList{"backup"};
        QTest::newRow("upload (asked during the operation)") << QStringList{"upload", "BOAT.CFG"};
    }
    void interruptAtTheQuestion()
    {
        QFETCH(QStringList, arguments);
        TempProgramFolder folder;
        EditorState s;
        writeDefaultsToRam(s);
        QVERIFY(writeConfigFile(s, folder.file("BOAT.CFG")).isEmpty());
        SimulatedInstrument sim;
        QVERIFY(sim.start(folder, {}));
        Terminal terminal;
        QVERIFY(terminal.start(folder, arguments + QStringList{"--port", folder.file("COM1")}));
        QVERIFY2(terminal.waitFor("[y/n]"), qPrintable(terminal.shown()));
        terminal.pressCtrlC();
        int code = terminal.finish(5);
        if (code == -1) { // held over: the answer the user gives next
            terminal.type("y\r");
            code = terminal.finish(60);
        }
        QVERIFY2(code == 130, qPrintable(QStringLiteral("exit %1\n%2").arg(code).arg(terminal.shown())));
        QVERIFY2(terminal.shown().contains("Interrupted at the question: nothing was written to the instrument."),
                 qPrintable(terminal.shown()));
        sim.stop();
        QCOMPARE(bytesReceived(folder.file("sim.log")), 0);
    }

    // Ctrl+C during a download: no new file, an existing one untouched, exit 3.
    void interruptedDownload_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("existing file") << true;
    }
    void interruptedDownload()
    {
        QFETCH(bool, existing);
        TempProgramFolder folder;
        EditorState s;
        writeDefaultsToRam(s);
        s.systemBlock[104] = 5; // damping, which a download takes
        if (existing)
            QVERIFY(writeConfigFile(s, folder.file("OUT.CFG")).isEmpty());
        const QByteArray before = folder.read("OUT.CFG");
        SimulatedInstrument sim;
        QVERIFY(sim.start(folder, {}));
        Terminal terminal;
        QVERIFY(terminal.start(folder, {"download", "OUT.CFG", "--port", folder.file("COM1"), "--yes"}));
        QVERIFY2(terminal.waitFor("Attempting to connect"), qPrintable(terminal.shown()));
        terminal.pressCtrlC();
        const int code = terminal.finish(30);
        QVERIFY2(code == cli::kExitIncomplete,
                 qPrintable(QStringLiteral("exit %1\n%2").arg(code).arg(terminal.shown())));
        QCOMPARE(folder.exists("OUT.CFG"), existing);
        QCOMPARE(folder.read("OUT.CFG"), before);
        QVERIFY2(terminal.shown().contains(existing ? "OUT.CFG was left unchanged." : "OUT.CFG was not written."),
                 qPrintable(terminal.shown()));
    }

    // A second Ctrl+C in the middle of a block ends at once and says what it leaves behind.
    void secondInterruptSaysWhatItLeaves()
    {
        TempProgramFolder folder;
        EditorState s;
        writeDefaultsToRam(s);
        QVERIFY(writeConfigFile(s, folder.file("BOAT.CFG")).isEmpty());
        SimulatedInstrument sim;
        // Each echo comes 0.05 s late: the settings (256 bytes) take about 13 s to write.
        QVERIFY(sim.start(folder, {"--slow-echo", "0.05"}));
        Terminal terminal;
        QVERIFY(terminal.start(folder, {"upload", "BOAT.CFG", "--port", folder.file("COM1"), "--yes"}));
        QVERIFY2(terminal.waitFor("Upload  ["), qPrintable(terminal.shown()));
        QTest::qWait(1500); // the settings were read; their writing has begun
        terminal.pressCtrlC();
        QVERIFY2(terminal.waitFor("Ctrl+C again ends at once", 5), qPrintable(terminal.shown()));
        terminal.pressCtrlC();
        const int code = terminal.finish(10);
        const QString shown = terminal.shown();
        QVERIFY2(code == 130, qPrintable(QStringLiteral("exit %1\n%2").arg(code).arg(shown)));
        QVERIFY2(shown.contains("Upload ended at once (Ctrl+C twice)."), qPrintable(shown));
        QVERIFY2(shown.contains("settings may be incomplete"), qPrintable(shown));
        QVERIFY2(shown.contains("still in command mode"), qPrintable(shown));
    }
};

QTEST_GUILESS_MAIN(TestCliPty)
#include "tst_cli_pty.moc"
