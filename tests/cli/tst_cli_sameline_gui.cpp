// corvane-cli and the editor put the same bytes on the line, with the same pauses, for the same upload.
#include "SimMemory.h"
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "editor/SimulatedEditor.h"
#include "ui/TransferWarning.h"
#include "ui/editor/InstrumentController.h"

#include <QPushButton>
#include <QTest>
#include <vector>

namespace
{
constexpr int kPort = 3;

// A configuration with something of every kind that an upload writes.
QByteArray configuration()
{
    EditorState s;
    writeDefaultsToRam(s);
    s.link.portNumber = kPort;
    s.configBlock[7][68] = 30;
    s.configBlock[16][127] = 9;
    s.systemBlock[1] = 2;   // units
    s.systemBlock[66] = 42; // race timers
    s.systemBlock[75] = 44; // an NMEA sentence selection
    s.calCurve[9][5][2] = 333.0f;
    return configFileText(s, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
}

// What went to the instrument: each byte and its time after the first one.
struct Line {
    QByteArray bytes;
    std::vector<double> times;
};

Line toInstrument(const Simulator &sim)
{
    Line line;
    for (const SimLogEntry &e : sim.log()) {
        if (!e.fromEditor)
            continue;
        line.bytes += char(e.byte);
        line.times.push_back(e.time);
    }
    const double first = line.times.empty() ? 0.0 : line.times.front();
    for (double &t : line.times)
        t -= first;
    return line;
}

Line editorUpload()
{
    SimulatedEditor e(kPort, false);
    e.sim.memory = SimMemory::factory(e.sim.softwareVersion);
    e.folder.write(QStringLiteral("DEFAULT.CFG"), configuration());
    e.open();
    e.clock.scheduleIn(0.3, [&e] { e.window->warningWindow()->onWarningContinueClicked(); });
    e.window->instrumentArea().upload();
    if (!e.prompts.verifyAllUsed())
        return {};
    return toInstrument(e.sim);
}

Line cliUpload(int *code)
{
    TempProgramFolder folder;
    // A device that exists stands for the port; the simulated instrument answers on it.
    QFile::link(QStringLiteral("/dev/null"), folder.file(QStringLiteral("COM%1").arg(kPort)));
    folder.write(QStringLiteral("UPLOAD.CFG"), configuration());
    VirtualClock clock;
    Simulator sim;
    sim.memory = SimMemory::factory(sim.softwareVersion);
    SimulatorPort port{sim, clock};
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    cli::Host host{{outStream, errStream, {}, false, false, {}, {}}, port, clock, folder.path(), {}, {}, {}};
    *code =
        cli::run({QStringLiteral("corvane-cli"), QStringLiteral("upload"), folder.file(QStringLiteral("UPLOAD.CFG")),
                  QStringLiteral("--port"), QStringLiteral("COM%1").arg(kPort), QStringLiteral("--yes")},
                 host);
    return toInstrument(sim);
}
} // namespace

class TestCliSameLine : public QObject
{
    Q_OBJECT
private slots:
    void uploadSendsWhatTheEditorSends()
    {
        // Both send the PC's clock: run again if the minute turned between the two runs.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const QTime before = QTime::currentTime();
            const Line editor = editorUpload();
            int code = -1;
            const Line cli = cliUpload(&code);
            if (QTime::currentTime().minute() != before.minute())
                continue;
            QCOMPARE(code, cli::kExitDone);
            QVERIFY(editor.bytes.size() > 256 + 16 * 128 + 6 * 128);
            QCOMPARE(cli.bytes, editor.bytes);
            QCOMPARE(cli.times.size(), editor.times.size());
            for (size_t i = 0; i < cli.times.size(); ++i)
                if (std::abs(cli.times[i] - editor.times[i]) > 1e-6)
                    QFAIL(qPrintable(QStringLiteral("byte %1 went %2 s after the first, the editor's %3 s")
                                         .arg(i)
                                         .arg(cli.times[i])
                                         .arg(editor.times[i])));
            return;
        }
        QFAIL("the minute turned during both attempts");
    }
};

QTEST_MAIN(TestCliSameLine)
#include "tst_cli_sameline_gui.moc"
