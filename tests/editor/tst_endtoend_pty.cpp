// End to end in real time: the editor's main window uploads to and downloads from corvane-sim over a pseudo-terminal.
#include "SimMemory.h"
#include "core/Defaults.h"
#include "core/TransferRules.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimProgram.h"
#include "kit/TempProgramFolder.h"
#include "link/Clock.h"
#include "ui/TransferWarning.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/MainWindow.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace
{
QString simProgram()
{
    return simProgramPath();
}
} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void uploadThenDownload()
    {
        if (!QFileInfo(simProgram()).isExecutable())
            QSKIP("corvane-sim is not built");
        TempProgramFolder folder;
        SimMemory memory = SimMemory::factory(23);
        memory.nvm[66] = 42; // race timers, set on the instrument
        memory.fixSystemBlockChecksum();
        QVERIFY(memory.save(folder.file("mem.bin")));

        QProcess sim;
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(simProgram(), {"--link", folder.file("COM1"), "--memory", folder.file("mem.bin")});
        QVERIFY(sim.waitForStarted(5000));
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(folder.file("COM1")).isSymLink(); }, 5000));

        ScriptedPrompts prompts;
        DeadlineClock clock;
        MainWindow window(prompts, clock, folder.path());
        window.endProgram = [] {};
        EditorState &s = window.state();
        s.link.portNumber = 1;
        s.configBlock[7][68] = 30;
        s.systemBlock[75] = 44;

        auto continueSoon = [&](bool keepRaceTimers) {
            QTimer::singleShot(300, &window, [&window, keepRaceTimers] {
                TransferWarning *w = window.warningWindow();
                if (!keepRaceTimers)
                    w->findChild<QCheckBox *>("chkSendReceiveRaceTimers")->setChecked(false);
                w->findChild<QPushButton *>("cmdWarningContinue")->click();
            });
        };
        // The race timers stay as the instrument has them.
        continueSoon(false);
        // The transfer runs on the link thread; the window stays responsive meanwhile.
        window.instrumentArea().upload();
        QVERIFY(window.operationRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!window.operationRunning(), 30000);
        QVERIFY(prompts.verifyAllUsed());
        QVERIFY(!s.link.connected);

        continueSoon(true);
        window.instrumentArea().download();
        QTRY_VERIFY_WITH_TIMEOUT(!window.operationRunning(), 30000);
        QVERIFY(prompts.verifyAllUsed());
        QCOMPARE(int(s.systemBlock[66]), 42);

        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        SimMemory after;
        QVERIFY(after.load(folder.file("mem.bin")));
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(after.eeprom.mid(4096 + 128 * (n - 1), 128),
                     QByteArray(reinterpret_cast<const char *>(s.configBlock[n]), 128));
        for (int k : transfer::uploadedCurves()) {
            const auto encoded = transfer::encodeCurve(s, k);
            QCOMPARE(after.eeprom.mid(12288 + 128 * (k - 1), 128),
                     QByteArray(reinterpret_cast<const char *>(encoded.bytes.data()), 128));
        }
        QCOMPARE(int(quint8(after.nvm[75])), 44);
        QCOMPARE(int(quint8(after.nvm[11])), 4); // upload counter advanced from 3
        QCOMPARE(after.systemBlockChecksum(), quint8(after.nvm[0]));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend_pty.moc"
