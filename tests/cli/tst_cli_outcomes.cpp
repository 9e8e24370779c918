// corvane-cli's exit codes and sentences where the instrument's answer decides them,
// against the in-process simulated instrument.
#include "SimMemory.h"
#include "Simulator.h"
#include "cli/Cli.h"
#include "cli/TerminalView.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"

#include <QTest>
#include <functional>

namespace
{
using Setup = std::function<void(Simulator &, TempProgramFolder &)>;

// Two echoes of display configuration bytes arrive garbled; the bytes themselves are stored as sent.
void twoEchoesGarbled(Simulator &sim, TempProgramFolder &)
{
    SimFaults f;
    f.garbleAt = {1500, 1501};
    sim.setFaults(f);
}

// The backup area holds erased memory: the instrument was never backed up.
void neverBackedUp(Simulator &sim, TempProgramFolder &)
{
    for (int i = 0; i < 256; ++i)
        sim.memory.eeprom[20608 + i] = char(0xFF);
}

void plainFileAsPort(Simulator &, TempProgramFolder &folder)
{
    folder.write(QStringLiteral("PORT"), "not a serial port");
}
} // namespace

Q_DECLARE_METATYPE(Setup)

class TestCliOutcomes : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("anythingSent");
        // --port /dev/null stands for a serial device: the simulated instrument answers on it.
        QTest::newRow("verify settles missed echoes")
            << QStringList{"upload", "FILE.CFG", "--port", "/dev/null", "--categories", "displays", "--verify"}
            << Setup(twoEchoesGarbled) << cli::kExitDone << "The read-back confirmed the 2 bytes whose echo was missed"
            << true;
        QTest::newRow("restore without a backup is refused")
            << QStringList{"restore", "--port", "/dev/null"} << Setup(neverBackedUp) << cli::kExitRefused
            << "The instrument holds no valid backup. Nothing was restored." << true;
        QTest::newRow("no such port: nothing asked")
            << QStringList{"backup", "--port", "NOWHERE/ttyUSB9"} << Setup() << cli::kExitNotFound
            << "NOWHERE/ttyUSB9 could not be opened: No such file or directory." << false;
        QTest::newRow("plain file as port")
            << QStringList{"reset-defaults", "--port", "PORT"} << Setup(plainFileAsPort) << cli::kExitNotFound
            << "PORT is not a serial port: it is a plain file." << false;
    }
    void outcome()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Setup, setup);
        QFETCH(int, code);
        QFETCH(QString, said);
        QFETCH(bool, anythingSent);
        TempProgramFolder folder;
        EditorState s;
        writeDefaultsToRam(s);
        QVERIFY(writeConfigFile(s, folder.file("FILE.CFG")).isEmpty());
        QDir::setCurrent(folder.path());
        VirtualClock clock;
        Simulator sim;
        sim.memory = SimMemory::factory(sim.softwareVersion);
        if (setup)
            setup(sim, folder);
        SimulatorPort port{sim, clock};
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        // Unattended: confirmed by --yes where the instrument is reached; where it cannot
        // be, the port is refused before the question that could not be answered.
        cli::Host host{{outStream, errStream, {}, false, false, {}, {}}, port, clock, folder.path(), {}, {}, {}};
        const int exit = cli::run(
            QStringList{"corvane-cli"} + arguments + (anythingSent ? QStringList{"--yes"} : QStringList{}), host);
        outStream.flush();
        errStream.flush();
        const QString all = out + err;
        QVERIFY2(exit == code, qPrintable(QStringLiteral("exit %1\n%2").arg(exit).arg(all)));
        QVERIFY2(all.contains(said), qPrintable(all));
        QCOMPARE(!port.written.isEmpty(), anythingSent);
        // Asked nothing it could not act on.
        if (!anythingSent)
            QVERIFY2(!all.contains("Are you sure"), qPrintable(all));
    }

    // On a narrow terminal the progress line is redrawn in place: it never reaches the
    // last column, so it never wraps and leaves one line per update behind.
    void progressFitsTheTerminal_data()
    {
        QTest::addColumn<QString>("task");
        QTest::addColumn<int>("columns");
        QTest::newRow("upload, 40 columns") << "Upload" << 40;
        QTest::newRow("long name, 40 columns") << "Reset all values to Factory Defaults" << 40;
        QTest::newRow("restore, 20 columns") << "Restore All from Backup" << 20;
        QTest::newRow("80 columns") << "Restore All from Backup" << 80;
    }
    void progressFitsTheTerminal()
    {
        QFETCH(QString, task);
        QFETCH(int, columns);
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        Console console({outStream, errStream, {}, false, true, {}, [columns] { return columns; }});
        TerminalView view(console, QStringLiteral("/dev/ttyUSB0"));
        view.setTask(task);
        view.setProgressMaximum(100);
        view.showProgress();
        for (int v = 0; v <= 100; v += 7)
            view.setProgress(v);
        errStream.flush();
        QVERIFY2(!err.contains('\n'), qPrintable(err));
        for (QString drawn : err.split('\r', Qt::SkipEmptyParts)) {
            drawn.remove(QStringLiteral("\x1b[K"));
            QVERIFY2(drawn.size() < columns, qPrintable(drawn));
            QVERIFY2(drawn.contains(QStringLiteral("/100")), qPrintable(drawn)); // the count is always shown
        }
    }
};

QTEST_GUILESS_MAIN(TestCliOutcomes)
#include "tst_cli_outcomes.moc"
