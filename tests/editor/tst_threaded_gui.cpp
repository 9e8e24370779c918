// The editor as it runs: the real runner with its operations on the link thread, the
// windows on this one, the simulated instrument behind the port. Each case asserts how
// the operation ended and what the instrument holds, never how long it took.
#include "Simulator.h"
#include "core/ImageLayout.h"
#include "core/ImageModel.h"
#include "core/Protocol.h"
#include "kit/FastClock.h"
#include "kit/ScriptedPrompts.h"
#include "kit/TempProgramFolder.h"
#include "kit/ThreadedSimulatorPort.h"
#include "link/OperationRunner.h"
#include "ui/LinkWindows.h"
#include "ui/PortChooser.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace
{
// Long enough for any operation here to end many times over; a hang fails the case.
constexpr int kEndMs = 30000;
const QByteArray kSoftReset("\x3d\xfb\0\0\0", 5);

struct ThreadedEditor {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    FastClock clock;
    Simulator sim;
    ThreadedSimulatorPort port{sim, clock};
    std::unique_ptr<MainWindow> window;
    int ended = 0;

    ThreadedEditor()
    {
        QFile::link(QStringLiteral("/nonexistent-serial-device"), folder.file(QStringLiteral("COM2")));
        sim.memory = SimMemory::factory(sim.softwareVersion);
        window = std::make_unique<MainWindow>(prompts, clock, folder.path(), &port);
        window->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
        window->endProgram = [this] { ++ended; };
        state().link.portNumber = 2;
        window->show();
    }
    EditorState &state() { return window->state(); }
    bool operationEnds()
    {
        return QTest::qWaitFor([this] { return !window->operationRunning(); }, kEndMs);
    }
    // The display blocks as the instrument holds them.
    QByteArray displayBlocks() const { return sim.memory.eeprom.mid(proto::kConfigBlockBase, 16 * 128); }
    // Every display block in the instrument is wholly `before` or wholly the editor's.
    bool blocksWhole(const QByteArray &before)
    {
        const QByteArray now = displayBlocks();
        for (int n = 1; n <= 16; ++n) {
            const QByteArray block = now.mid(128 * (n - 1), 128);
            const QByteArray mine(reinterpret_cast<const char *>(state().configBlock[n]), 128);
            if (block != before.mid(128 * (n - 1), 128) && block.mid(1) != mine.mid(1))
                return false;
        }
        return true;
    }
};
} // namespace

class TestThreaded : public QObject
{
    Q_OBJECT
private slots:
    // Closing the editor while the overwrite warning or the port chooser waits: the
    // question leaves the screen, the editor closes, and nothing reaches the instrument.
    void closingDuringAQuestion_data()
    {
        QTest::addColumn<bool>("portChooser");
        QTest::newRow("overwrite warning") << false;
        QTest::newRow("port chooser") << true;
    }
    void closingDuringAQuestion()
    {
        QFETCH(bool, portChooser);
        ThreadedEditor e;
        if (portChooser) {
            e.state().link.portNumber = 0;
            e.state().transfer.askUser = false;
        }
        QWidget *question = portChooser ? static_cast<QWidget *>(e.window->linkWindows().comms())
                                        : static_cast<QWidget *>(e.window->warningWindow());
        e.window->instrumentArea().upload();
        QVERIFY(QTest::qWaitFor([&] { return question->isVisible(); }, kEndMs));
        e.prompts.yes().no(); // cancel it and quit; do not save
        e.window->close();
        QVERIFY(e.operationEnds());
        QVERIFY(QTest::qWaitFor([&] { return e.ended == 1; }, kEndMs));
        QVERIFY(!question->isVisible());
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.port.written, QByteArray());
    }

    // Cancel in the progress window stops a transfer between whole blocks or sectors,
    // with the closing bytes, and says so.
    void cancelStopsATransfer_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("told");
        QTest::newRow("upload") << "upload"
                                << "The upload was cancelled.";
        QTest::newRow("backup") << "backup"
                                << "The backup was cancelled after";
        QTest::newRow("restore") << "restore"
                                 << "The restore was cancelled.";
    }
    void cancelStopsATransfer()
    {
        QFETCH(QString, operation);
        QFETCH(QString, told);
        ThreadedEditor e;
        e.state().transfer.askUser = false;
        const QByteArray before = e.displayBlocks();
        e.port.afterBytes = 900;
        e.port.onBytesWritten = [&] { e.window->linkWindows().onCancel(); };
        if (operation != "upload")
            e.prompts.yes(); // the warning before a backup or a restore
        // A backup of the settings to restore from.
        e.sim.memory.eeprom.replace(proto::kSystemBackup, 256, e.sim.memory.nvm.left(256));
        e.prompts.ok();
        if (operation == "upload")
            e.window->instrumentArea().upload();
        else if (operation == "backup")
            e.window->instrumentArea().createBackup();
        else
            e.window->instrumentArea().restoreBackup();
        QVERIFY(e.operationEnds());
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY2(e.prompts.last().text.startsWith(told), qPrintable(e.prompts.last().text));
        QVERIFY(e.port.writtenCount() < 2000);
        const QByteArray closing = operation == "upload" ? kSoftReset : QByteArray("\x3d\xff\0\0\0", 5);
        QCOMPARE(e.port.written.right(5), closing);
        QVERIFY(e.blocksWhole(before));
        QVERIFY(!e.state().link.connected);
    }

    // The monitor, stopped from its window, takes the instrument out of monitor mode;
    // edits made in the main window meanwhile stay as they were made.
    void monitorStopsAndEditsStay()
    {
        ThreadedEditor e;
        e.state().nmea.channel = 1;
        e.window->instrumentArea().startNmeaMonitor();
        QVERIFY(QTest::qWaitFor([&] { return e.port.writtenCount() > 200; }, kEndMs));
        e.window->image().setFuelTankSize(1234);
        e.window->image().setPulleyRatio(77);
        e.window->nmeaMonitor()->onNmeaDataCancelClicked();
        QVERIFY(e.operationEnds());
        QCOMPARE(e.port.written.count(char(proto::kNmeaMonitorStart)), 1);
        QCOMPARE(e.port.written.right(5), kSoftReset);
        QCOMPARE(e.window->image().fuelTankSize(), quint16(1234));
        QCOMPARE(int(e.window->image().pulleyRatio()), 77);
        QVERIFY(!e.state().link.connected);
    }

    // The port going away mid-upload ends it with the reason and what the instrument
    // now holds: the blocks sent before are new, those after it old.
    void portLostMidUpload()
    {
        ThreadedEditor e;
        e.state().transfer.askUser = false;
        const QByteArray before = e.displayBlocks();
        e.port.loseAfterBytes = 1100;
        e.prompts.ok();
        e.window->instrumentArea().upload();
        QVERIFY(e.operationEnds());
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.prompts.last().title, QString("Connection lost"));
        QVERIFY(e.prompts.last().text.contains("was lost"));
        QVERIFY(e.prompts.last().text.contains("display configurations 1 to 5 were written; display configuration 6 "
                                               "may be incomplete"));
        const QByteArray now = e.displayBlocks();
        for (int n = 1; n <= 16; ++n) {
            const QByteArray block = now.mid(128 * (n - 1), 128);
            if (n <= 5)
                QCOMPARE(block.mid(1), QByteArray(reinterpret_cast<const char *>(e.state().configBlock[n] + 1), 127));
            else if (n >= 7)
                QCOMPARE(block, before.mid(128 * (n - 1), 128));
        }
        QVERIFY(!e.state().link.connected);
    }

    // A download whose settings do not arrive intact changes nothing in the editor: not
    // the image (the counter the connection read included), not its history, not the
    // modified mark.
    void failedDownloadLeavesTheEditorAlone()
    {
        ThreadedEditor e;
        e.window->image().setFuelTankSize(4321); // an edit not saved
        e.window->history().checkpoint();
        QVERIFY(e.window->isWindowModified());
        const ConfigImage before = ConfigImage::of(e.state());
        const QString undoText = e.window->history().undoAction()->text();
        SimFaults faults;
        faults.badChecksum = true;
        e.sim.setFaults(faults);
        e.sim.memory.nvm[layout::kUploadCounter + 1] = char(before.system[layout::kUploadCounter + 1] + 5);
        e.prompts.ok();
        e.window->instrumentArea().download();
        QVERIFY(QTest::qWaitFor([&] { return e.window->warningWindow()->isVisible(); }, kEndMs));
        e.window->warningWindow()->findChild<QPushButton *>("cmdWarningContinue")->click();
        QVERIFY(e.operationEnds());
        QVERIFY(e.prompts.last().text.contains("Nothing was changed."));
        e.window->history().checkpoint();
        QVERIFY(ConfigImage::of(e.state()) == before);
        QCOMPARE(e.window->history().undoAction()->text(), undoText);
        QVERIFY(e.window->isWindowModified());
    }

    // A second operation started while one runs is refused; the first goes on to its end.
    void secondOperationIsRefused()
    {
        ThreadedEditor e;
        e.state().transfer.askUser = false;
        e.prompts.ok();
        e.window->instrumentArea().upload();
        e.window->instrumentArea().compareWithInstrument();
        QCOMPARE(e.prompts.last().text, QString("Please wait: the instrument is busy."));
        QVERIFY(e.operationEnds());
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.port.written.right(5), kSoftReset);
        QCOMPARE(e.displayBlocks().mid(1, 127),
                 QByteArray(reinterpret_cast<const char *>(e.state().configBlock[1] + 1), 127));
    }

    // While an operation holds the image, every action that edits it is disabled, the
    // items of the Edit menu's submenus too (assistive technology reaches them there).
    void editActionsAreDisabledDuringAnUpload()
    {
        ThreadedEditor e;
        QList<QAction *> edits;
        const auto collect = [&](const QMenu *menu, const auto &self) -> void {
            for (QAction *a : menu->actions()) {
                if (a->menu())
                    self(a->menu(), self);
                else if (!a->isSeparator() && a->objectName() != QLatin1String("EditUndo") &&
                         a->objectName() != QLatin1String("EditRedo"))
                    edits << a;
            }
        };
        for (QAction *top : e.window->menuBar()->actions())
            if (top->menu() && top->menu()->objectName() == QLatin1String("mnuEdit"))
                collect(top->menu(), collect);
        QVERIFY(edits.size() > 5);
        e.window->instrumentArea().upload();
        QVERIFY(QTest::qWaitFor([&] { return e.window->warningWindow()->isVisible(); }, kEndMs));
        const ConfigImage before = ConfigImage::of(e.state());
        for (QAction *a : edits) {
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
            a->trigger(); // a disabled action does nothing
        }
        QVERIFY(ConfigImage::of(e.state()) == before);
        e.window->warningWindow()->findChild<QPushButton *>("cmdWarningCancel")->click();
        QVERIFY(e.operationEnds());
    }
};

QTEST_MAIN(TestThreaded)
#include "tst_threaded_gui.moc"
