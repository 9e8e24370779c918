// The main window's start-up, shutdown, File menu, About window and factory reset.
#include "Simulator.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "editor/SimulatedEditor.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"
#include "ui/AboutWindow.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FileController.h"
#include "ui/editor/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace
{

struct Editor : SimulatedEditor {
    explicit Editor(bool start = true) : SimulatedEditor(3, start) {}
};

QByteArray fileFor(int port, int configByte28)
{
    EditorState s;
    writeDefaultsToRam(s);
    s.link.portNumber = quint8(port);
    s.configBlock[2][28] = quint8(configByte28);
    s.systemBlock[6] = 9;
    return configFileText(s, QDateTime(QDate(2020, 2, 3), QTime(4, 5, 6)));
}

} // namespace

class TestMainFile : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWritesTheDefaults()
    {
        Editor e;
        QVERIFY(e.prompts.verifyAllUsed()); // silent
        QCOMPARE(e.get<QLabel>("lblCommsPort")->text(), QString("COM Port = 0"));
        QCOMPARE(int(e.state().systemBlock[1]), 26);
        const QByteArray file = e.defaultFile();
        QCOMPARE(file.count('\n'), 3351);
        QVERIFY(file.contains("\r\nCOMport=, 0 \r\n"));
        QCOMPARE(e.window->dampingWindow()->findChild<QLineEdit *>("txtDampingValue")->text(), QString("0"));
    }

    void startUpLoadsDefaultCfg()
    {
        Editor e(false);
        QVERIFY(e.folder.write("DEFAULT.CFG", fileFor(3, 27)));
        e.open();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(int(e.state().link.portNumber), 3);
        QCOMPARE(e.get<QLabel>("lblCommsPort")->text(), QString("COM Port =  3"));
        QCOMPARE(int(e.state().systemBlock[6]), 1);
        QCOMPARE(int(e.state().configBlock[2][28]), 27);
        QCOMPARE(e.defaultFile(), fileFor(3, 27)); // not rewritten
    }

    void badDefaultIsReplacedSilently()
    {
        Editor e(false);
        QByteArray bad = fileFor(3, 27);
        bad.chop(4);
        QVERIFY(e.folder.write("DEFAULT.CFG", bad));
        e.open();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(int(e.state().link.portNumber), 0);
        QVERIFY(e.defaultFile().endsWith("-1\r\n"));
    }

    void unwritableDefaultIsToldOnce()
    {
        Editor e(false);
        QVERIFY(QDir(e.folder.path()).mkdir("DEFAULT.CFG"));
        e.prompts.ok();
        e.open();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.prompts.last().text.startsWith("The default configuration file could not be written:"));
        QVERIFY(e.prompts.last().text.contains("DEFAULT.CFG"));
        QCOMPARE(int(e.state().systemBlock[1]), 26);
        QVERIFY(e.window->isEnabled());
    }

    void exitAsksOnce_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes saves") << true;
    }
    void exitAsksOnce()
    {
        QFETCH(bool, save);
        Editor e;
        const QByteArray before = e.defaultFile();
        e.state().systemBlock[1] = 0x7F;
        if (save)
            e.prompts.yes();
        else
            e.prompts.no();
        e.trigger("Exit");
        e.window->close(); // the main window's own unload runs the shutdown again
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.prompts.records.size(), 1);
        QCOMPARE(e.prompts.records[0].title, QString("Quit Program"));
        QCOMPARE(e.prompts.records[0].text, QString("Save setup data to default setup file before exiting program?"));
        QCOMPARE(e.prompts.beeps, 1);
        QCOMPARE(e.ended, 1);
        QCOMPARE(e.defaultFile() == before, !save);
        if (save)
            QVERIFY(e.defaultFile().contains("\r\n 1 , 127 \r\n"));
    }

    void newTwiceDuplicatesNoListEntry()
    {
        Editor e;
        for (int i = 0; i < 2; ++i) {
            e.prompts.yes();
            e.trigger("New");
        }
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.get<QComboBox>("ComboDisplay1")->count(), 9);
        QCOMPARE(e.window->dampingWindow()->findChild<QComboBox *>("cboDamping")->count(), 4);
        QCOMPARE(e.prompts.records[0].title, QString("Load default display configurations"));
        QCOMPARE(e.prompts.records[0].text,
                 QString("Are you sure?\r\nThis will overwrite all the current display configurations and settings!"));
        QCOMPARE(e.get<QGroupBox>("fraData")->title(), QString("Data for Current Configuration # 1 "));
    }

    void openKeepsTheImageOnABadFile()
    {
        Editor e;
        QByteArray bad = fileFor(5, 30);
        bad.replace("CDC( 3 - 48 ),  29 ", "CDC( 3 - 48 ),  999 ");
        QVERIFY(e.folder.write("BAD.CFG", bad));
        e.state().configBlock[3][48] = 24;
        e.prompts.openFile(e.folder.file("BAD.CFG")).ok();
        e.window->fileArea().open();
        QVERIFY(e.prompts.verifyAllUsed());
        const QString text = e.prompts.last().text;
        QVERIFY2(text.contains("BAD.CFG") && text.contains("Line 570") && text.contains("999"), qPrintable(text));
        QCOMPARE(int(e.state().configBlock[3][48]), 24);
        QCOMPARE(int(e.state().configBlock[2][28]), 23);
        QCOMPARE(int(e.state().link.portNumber), 0);
    }

    void openThenSaveWritesDefaultCfg()
    {
        Editor e;
        QVERIFY(e.folder.write("OTHER.CFG", fileFor(7, 29)));
        e.prompts.openFile(e.folder.file("OTHER.CFG"));
        e.window->fileArea().open();
        QCOMPARE(int(e.state().configBlock[2][28]), 29);
        QCOMPARE(int(e.state().session.editCurveNumber), 99);
        QCOMPARE(e.get<QLabel>("lblCommsPort")->text(), QString("COM Port =  7"));
        e.trigger("Save");
        QVERIFY(e.defaultFile().contains("\r\nCOMport=, 7 \r\n"));
        QCOMPARE(e.folder.read("OTHER.CFG"), fileFor(7, 29));
        QVERIFY(e.prompts.verifyAllUsed());
    }

    // "corvane-editor BOAT.CFG" typed in another folder opens that folder's BOAT.CFG,
    // although start-up makes the program's folder current.
    void commandLineFileIsFoundWhereTheCommandWasTyped()
    {
        TempProgramFolder typedIn;
        QVERIFY(typedIn.write("BOAT.CFG", fileFor(4, 29)));
        QVERIFY(QDir::setCurrent(typedIn.path()));
        Editor e(false);
        e.open();
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        QVERIFY(e.window->openCommandLineFile("BOAT.CFG"));
        QCOMPARE(int(e.state().configBlock[2][28]), 29);
        QVERIFY(e.prompts.verifyAllUsed());
    }

    void saveAsAndCancel()
    {
        Editor e;
        e.prompts.saveFile(QString()).saveFile(e.folder.file("COPY.CFG"));
        e.window->fileArea().saveAs(); // cancelled: nothing
        QVERIFY(!e.folder.exists("COPY.CFG"));
        e.window->fileArea().saveAs();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.prompts.records[0].title, QString("Save Settings to File: "));
        QCOMPARE(e.prompts.records[0].text, QString("Files (*.CFG)| *.CFG"));
        QCOMPARE(e.folder.read("COPY.CFG").count('\n'), 3351);
    }

    void failedSaveIsToldAndKeepsTheOldFile()
    {
        Editor e;
        const QByteArray before = e.defaultFile();
        QVERIFY(QDir(e.folder.path()).mkdir("BLOCKED.CFG"));
        e.prompts.saveFile(e.folder.file("BLOCKED.CFG")).ok();
        e.window->fileArea().saveAs();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.prompts.last().text.startsWith("The configuration could not be saved to"));
        QVERIFY(e.prompts.last().text.contains("BLOCKED.CFG"));
        QCOMPARE(e.defaultFile(), before);
    }

    void aboutShowsVersionAndIdentity()
    {
        Editor e;
        e.window->findChild<QAction *>(QStringLiteral("About"))->trigger();
        AboutWindow *about = e.window->aboutWindow();
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Halvane Corvane Configuration Editor"));
        QCOMPARE(about->findChild<QLineEdit *>("txtPcSoftwareVer")->text(), QString("Ver 1.0.3"));
        QCOMPARE(about->findChild<QLineEdit *>("txtTessaroSN")->text(), QString("Unknown"));
        QCOMPARE(about->findChild<QLineEdit *>("txtTessaroSwVer")->text(), QString("Unknown"));
        QCOMPARE(about->findChild<QLineEdit *>("txtTessaroHwVer")->text(), QString("Unknown"));
        QVERIFY(about->findChild<QLabel *>("lblMnuAbout")->text().startsWith("Halvane Corvane Configuration Editor."));
    }

    void factoryResetThenCancelLeavesTheInstrument()
    {
        Editor e;
        e.state().systemBlock[1] = 0x7F;
        e.state().configBlock[1][28] = 30;
        e.prompts.yes();
        e.clock.scheduleIn(0.1, [&] {
            QVERIFY(e.window->warningWindow()->isVisible());
            e.window->warningWindow()->findChild<QPushButton *>("cmdWarningCancel")->click();
        });
        e.window->findChild<QAction *>(QStringLiteral("ResetDefaults"))->trigger();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.prompts.records[0].title, QString("Reset all values to Factory Defaults"));
        QCOMPARE(e.prompts.records[0].icon, Prompts::Icon::Exclamation);
        QCOMPARE(int(e.state().systemBlock[1]), 26);
        QCOMPARE(int(e.state().configBlock[1][28]), 25);
        QCOMPARE(e.port.written, QByteArray());
        QCOMPARE(e.get<QPushButton>("cmdClearConfig")->text(), QString("Clear Configuration # 1"));
    }

    void factoryResetAnsweredNoChangesNothing()
    {
        Editor e;
        e.state().systemBlock[1] = 0x7F;
        e.prompts.no();
        e.window->findChild<QAction *>(QStringLiteral("ResetDefaults"))->trigger();
        QCOMPARE(int(e.state().systemBlock[1]), 0x7F);
    }

    void uploadAndDownloadFromTheButtons()
    {
        Editor e;
        e.sim.memory = SimMemory::factory(e.sim.softwareVersion);
        e.state().link.portNumber = 3;
        e.state().configBlock[5][48] = 28;
        e.clock.scheduleIn(0.1, [&] { e.window->warningWindow()->onWarningContinueClicked(); });
        e.get<QPushButton>("cmdUpload")->click();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(int(quint8(e.sim.memory.eeprom[4096 + 128 * 4 + 48])), 28);
        QVERIFY(!e.state().link.connected);
        QCOMPARE(e.get<QLabel>("lblTessaroSN")->text(), QString(" Corvane SN#:  80315012"));

        e.sim.memory.nvm[66] = 42;
        e.sim.memory.fixSystemBlockChecksum();
        e.clock.scheduleIn(0.1, [&] { e.window->warningWindow()->onWarningContinueClicked(); });
        e.get<QPushButton>("cmdDownload")->click();
        QCOMPARE(int(e.state().systemBlock[66]), 42);
        e.window->onConnectionTimer();
        QCOMPARE(e.get<ClickLabel>("lblConnected")->text(), QString("Not connected to Corvane"));
    }
};

QTEST_MAIN(TestMainFile)
#include "tst_mainwindow_file_gui.moc"
