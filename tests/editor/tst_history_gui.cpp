// Undo and redo: each kind of edit is one step that puts the image back byte for byte.
#include "MainWindowFixture.h"
#include "ui/editor/FileController.h"

#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "kit/PdfText.h"
#include "ui/PortChooser.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TakePartsWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/ImageHistory.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

namespace
{

// The edits, as the user makes them.
void edit(MainWindowFixture &f, const QString &kind)
{
    MainWindow &w = *f.window;
    if (kind == "icon box") {
        f.get<QCheckBox>("ChkIconsUpperSpeed")->click();
    } else if (kind == "data source") {
        f.pick("ComboDisplay2", 4);
    } else if (kind == "alarm prompt") {
        f.prompts.input("77");
        f.click("cmdDD1HiAlarm");
    } else if (kind == "bar limit prompt") {
        f.prompts.input("1234");
        f.click("cmdDD4HiBar");
    } else if (kind == "menu setting") {
        f.trigger("DegC");
    } else if (kind == "tank prompt") {
        f.prompts.input("123.4");
        f.trigger("FuelTankSize");
    } else if (kind == "damping box") {
        QTest::keyClicks(w.dampingWindow()->findChild<QLineEdit *>("txtDampingValue"), "7");
    } else if (kind == "time-of-day box") {
        QTest::keyClicks(w.todAlarmsWindow()->findChild<QLineEdit *>("txtTodHours"), "7");
    } else if (kind == "sender grid") {
        SendersWindow *s = w.sendersWindow();
        s->onEditCurve6Clicked();
        s->findChild<QTableWidget *>("MSFlexGrid1")->setCurrentCell(4, 2);
        s->onGridKeyPress('1');
    } else if (kind == "clear configuration") {
        f.prompts.yes();
        f.click("cmdClearConfig");
    } else if (kind == "new") {
        f.prompts.yes();
        f.trigger("New");
    } else if (kind == "open") {
        EditorState other;
        other.copyImageFrom(f.state());
        other.setSystemWord(23, 4321);
        other.configBlock[1][4] = 0x81; // "DEG" on, and a bit no icon owns
        other.link.portNumber = 5;      // undo puts the editor's own port back
        QVERIFY(writeConfigFile(other, f.folder.file("OTHER.CFG")).isEmpty());
        f.prompts.openFile(f.folder.file("OTHER.CFG"));
        f.trigger("Open");
    } else if (kind == "take parts") {
        // The alarm limits and configuration 1 of a file that also differs elsewhere.
        EditorState other;
        other.copyImageFrom(f.state());
        other.setSystemWord(23, 4321);
        other.setSystemWord(180, 5);
        other.configBlock[1][4] = 0x81;
        other.configBlock[2][4] = 0x81;
        QVERIFY(writeConfigFile(other, f.folder.file("OTHER.CFG")).isEmpty());
        f.prompts.openFile(f.folder.file("OTHER.CFG"));
        f.trigger("TakeParts");
        auto *parts = w.findChild<TakePartsWindow *>();
        QVERIFY(parts && parts->isVisible());
        parts->findChild<QCheckBox *>("chkCategory10")->click();
        parts->findChild<QCheckBox *>("chkCategory1")->click();
        for (int n = 2; n <= 16; ++n)
            parts->findChild<QCheckBox *>(QStringLiteral("chkConfiguration%1").arg(n))->click();
        QCOMPARE(parts->findChild<CompareWindow *>()->differenceCount(), 2);
        QVERIFY(ConfigImage::of(f.state()) != parts->result()); // nothing changed before Apply
        const ConfigImage shown = parts->result();
        parts->findChild<QPushButton *>("cmdApply")->click();
        QVERIFY(ConfigImage::of(f.state()) == shown);
    } else if (kind == "port chooser") {
        f.trigger("TessaroComPort");
        auto *chooser = w.findChild<PortChooser *>();
        QVERIFY(chooser);
        chooser->selectPort(3);
        chooser->onCommsAcceptClicked();
    }
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void undoRedoRestoresTheImage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("undoName");
        QTest::addColumn<bool>("savedAfterEdit"); // New and Open start a saved state

        QTest::newRow("icon box") << "icon box"
                                  << "Configuration 1 · Icons · Upper SPEED" << false;
        QTest::newRow("data source") << "data source"
                                     << "Configuration 1 · Digital Display #2 · Display Data from" << false;
        QTest::newRow("alarm prompt") << "alarm prompt"
                                      << "NMEA 0183 input #2A · High Alarm Limit" << false;
        QTest::newRow("bar limit prompt") << "bar limit prompt"
                                          << "Configuration 1 · Left Bar Graph Display · Upper Bar Limit" << false;
        QTest::newRow("menu setting") << "menu setting"
                                      << "Temperature units" << false;
        QTest::newRow("tank prompt") << "tank prompt"
                                     << "Fuel tank size" << false;
        QTest::newRow("damping box") << "damping box"
                                     << "Damping NMEA Channel 2A" << false;
        QTest::newRow("time-of-day box") << "time-of-day box"
                                         << "Time-Of-Day Alarm #1 hours" << false;
        QTest::newRow("sender grid") << "sender grid"
                                     << "Sender curve Engine Temp. point 5" << false;
        QTest::newRow("clear configuration") << "clear configuration"
                                             << "9 changes" << false;
        QTest::newRow("new") << "new"
                             << "New" << true;
        QTest::newRow("open") << "open"
                              << "Open OTHER.CFG" << true;
        QTest::newRow("take parts") << "take parts"
                                    << "Take Parts of OTHER.CFG" << false;
        QTest::newRow("port chooser") << "port chooser"
                                      << "Communications Port" << false;
    }
    void undoRedoRestoresTheImage()
    {
        QFETCH(QString, kind);
        QFETCH(QString, undoName);
        QFETCH(bool, savedAfterEdit);
        MainWindowFixture f;
        ImageHistory &history = f.window->history();
        f.select(1);
        // A change of its own first, so that New and Open have something to replace.
        f.state().configBlock[1][20] = 77;
        f.state().configBlock[1][4] = 0x80; // a bit no icon owns: the redraw would clear it
        f.state().setSystemWord(21, 555);
        history.checkpoint();
        QVERIFY(f.window->isWindowModified());
        const ConfigImage before = ConfigImage::of(f.state());
        const quint8 portBefore = f.state().link.portNumber;

        edit(f, kind);
        history.checkpoint();
        const ConfigImage after = ConfigImage::of(f.state());
        QVERIFY(after != before);
        QCOMPARE(f.get<QAction>("EditUndo")->text(), "&Undo " + undoName);
        QCOMPARE(f.window->isWindowModified(), !savedAfterEdit);

        f.trigger("EditUndo");
        QVERIFY(ConfigImage::of(f.state()) == before);
        QCOMPARE(f.state().link.portNumber, portBefore); // Save would write it
        QCOMPARE(f.get<QAction>("EditRedo")->text(), "&Redo " + undoName);
        QVERIFY(f.window->isWindowModified());
        history.checkpoint(); // the redraw after undo is no step of its own
        QVERIFY(f.get<QAction>("EditRedo")->isEnabled());

        f.trigger("EditRedo");
        QVERIFY(ConfigImage::of(f.state()) == after);
        QCOMPARE(f.window->isWindowModified(), !savedAfterEdit);
        QVERIFY(f.prompts.verifyAllUsed());
    }

    // The report and the title say where the image comes from, as undo leaves it; the
    // recent-files list (shared between runs and editors) plays no part.
    void reportNamesWhereTheImageComesFrom()
    {
        MainWindowFixture f;
        EditorState other;
        other.copyImageFrom(f.state());
        other.setSystemWord(23, 4321);
        QVERIFY(writeConfigFile(other, f.folder.file("BOAT.CFG")).isEmpty());
        const auto reported = [&f] {
            QFile::remove(f.folder.file("REPORT.pdf"));
            f.prompts.saveFile(f.folder.file("REPORT.pdf"));
            f.trigger("ExportReport");
            for (const QString &line : pdfPages(f.folder.file("REPORT.pdf")).value(0).split('\n'))
                if (line.trimmed().startsWith("Configuration "))
                    return line.trimmed().mid(int(strlen("Configuration "))).trimmed();
            return QString();
        };
        QCOMPARE(reported(), QStringLiteral("DEFAULT.CFG"));
        f.prompts.openFile(f.folder.file("BOAT.CFG"));
        f.trigger("Open");
        QVERIFY(f.window->windowTitle().contains("BOAT.CFG"));
        f.prompts.yes();
        f.trigger("New");
        QCOMPARE(reported(), QStringLiteral("Factory defaults"));
        f.trigger("DegC");
        f.window->history().checkpoint();
        QCOMPARE(reported(), QStringLiteral("Factory defaults (with changes not saved)"));
        f.trigger("EditUndo");
        f.trigger("EditUndo");
        QVERIFY(reported().startsWith(QStringLiteral("BOAT.CFG")));
        QVERIFY(f.window->windowTitle().contains("BOAT.CFG"));
        QVERIFY(f.prompts.verifyAllUsed());
    }

    // Compare with File lists the file's values against the editor's, and a bad file
    // is reported without touching the editor.
    void compareWithFile()
    {
        MainWindowFixture f;
        EditorState other;
        other.copyImageFrom(f.state());
        other.setSystemWord(21, 1234);
        other.configBlock[2][28] = 26;
        other.link.portNumber = 4;
        QVERIFY(writeConfigFile(other, f.folder.file("BOAT.CFG")).isEmpty());
        f.folder.write("BAD.CFG", "not a configuration\r\n");
        const ConfigImage editor = ConfigImage::of(f.state());

        f.prompts.openFile(f.folder.file("BAD.CFG")).ok();
        f.trigger("CompareWithFile");
        QCOMPARE(f.prompts.last().title, QStringLiteral("Compare with File"));
        f.prompts.openFile(f.folder.file("BOAT.CFG"));
        f.trigger("CompareWithFile");
        QVERIFY(f.prompts.verifyAllUsed());
        QVERIFY(ConfigImage::of(f.state()) == editor);

        CompareWindow *compare = f.window->fileArea().compareWindow();
        QVERIFY(compare->isVisible());
        QCOMPARE(compare->differenceCount(), 3);
        QCOMPARE(compare->reportText().split('\n').mid(2),
                 QStringList({"", "Display configuration 2 (1 difference)",
                              "  Configuration 2 · Digital Display #1 · Display Data from: NMEA 0183 input #1A → "
                              "NMEA 0183 input #2B",
                              "", "Units and settings (1 difference)", "  Communications Port: None → COM4", "",
                              "Tanks (1 difference)", "  Fuel tank size: 100 → 123.4", ""}));
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history_gui.moc"
