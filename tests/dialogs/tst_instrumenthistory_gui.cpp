// The Instrument History window: the archive's instruments and entries, each
// comparison made in the parts both sides know, and an entry taken into the editor.
#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Protocol.h"
#include "editor/SimulatedEditor.h"
#include "kit/ArchiveSamples.h"
#include "kit/Child.h"
#include "kit/ScriptedPrompts.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/InstrumentHistoryWindow.h"
#include "ui/editor/ImageHistory.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace
{
const QDateTime kStart(QDate(2026, 5, 1), QTime(9, 0), Qt::UTC);
const QString kSerial = QStringLiteral("61231042");

// An archive in `folder` that the settings name, holding an upload that knew the
// whole image (sample 1) and then a download that knew the settings (sample 2).
QStringList recordUploadThenDownload(const QString &folder)
{
    archive::Settings settings;
    settings.folder = folder;
    settings.save();
    const archive::Archive a(folder);
    archive::Parts settingsOnly;
    settingsOnly.settings = true;
    return {
        a.record(kit::sampleObservation(kSerial, archive::operation::kUpload, archive::Parts::all(), kStart, 1)).value,
        a.record(kit::sampleObservation(kSerial, archive::operation::kDownload, settingsOnly, kStart.addSecs(60), 2))
            .value};
}

InstrumentHistoryWindow *openHistory(SimulatedEditor &e)
{
    e.trigger(QStringLiteral("InstrumentHistory"));
    return e.window->findChild<InstrumentHistoryWindow *>();
}

QList<QByteArray> fileLines(const QByteArray &text)
{
    return text.split('\n');
}
} // namespace

class TestInstrumentHistory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void comparesAndSavesWhatTheEntriesKnow()
    {
        QTemporaryDir dir;
        archive::Settings settings;
        settings.folder = dir.filePath(QStringLiteral("archive"));
        settings.save();
        const archive::Archive a(settings.folder);
        archive::Parts settingsOnly;
        settingsOnly.settings = true;
        const QString serial = QStringLiteral("61231042");
        QVERIFY(a.record(kit::sampleObservation(serial, archive::operation::kUpload, archive::Parts::all(), kStart, 1))
                    .ok());
        QVERIFY(
            a.record(kit::sampleObservation(serial, archive::operation::kDownload, settingsOnly, kStart.addSecs(60), 2))
                .ok());
        QVERIFY(a.record(kit::sampleObservation(QStringLiteral("71231077"), archive::operation::kUpload,
                                                archive::Parts::all(), kStart.addSecs(120), 3))
                    .ok());

        ScriptedPrompts prompts;
        QList<int> differences;
        InstrumentHistoryWindow w(
            prompts,
            [&](const ConfigImage &before, const QString &, const ConfigImage &after, const QString &) {
                differences << int(fields::differences(before, after).size());
            },
            [] { return kit::sampleImage(4); });
        auto *instruments = child<QTreeWidget>(w, QStringLiteral("lstInstruments"));
        auto *entries = child<QTreeWidget>(w, QStringLiteral("lstEntries"));
        QCOMPARE(instruments->topLevelItemCount(), 2);
        QTest::keyClicks(child<QLineEdit>(w, QStringLiteral("txtFilter")), serial);
        QCOMPARE(instruments->topLevelItemCount(), 1);
        QCOMPARE(entries->topLevelItemCount(), 2);
        QCOMPARE(entries->topLevelItem(0)->text(1), QStringLiteral("download"));
        QCOMPARE(entries->topLevelItem(0)->text(4), QStringLiteral("1"));

        // The download knew the settings only: its display configurations are not compared.
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("cmdComparePrevious")), Qt::LeftButton);
        // The history as of the download knows everything: setting, display, curve differ.
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("cmdCompareEditor")), Qt::LeftButton);
        // Enter on an entry compares it with the one before.
        QTest::keyClick(entries, Qt::Key_Return);
        QCOMPARE(differences, QList<int>({1, 3, 1}));

        const QString saved = dir.filePath(QStringLiteral("SAVED.CFG"));
        prompts.saveFile(saved);
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("cmdSaveAs")), Qt::LeftButton);
        QVERIFY(prompts.verifyAllUsed());
        ConfigFileImage file;
        QVERIFY(readConfigFile(saved, file).ok);
        ConfigImage image = ConfigImage::of(file), settingsFrom = kit::sampleImage(2),
                    displayFrom = kit::sampleImage(1);
        QCOMPARE(kit::sampleSetting(image), kit::sampleSetting(settingsFrom));
        QCOMPARE(kit::sampleDisplay(image), kit::sampleDisplay(displayFrom));
    }

    // The newest entry knows the settings only: the editor takes the display
    // configurations and curves from the upload before it, as `archive show` does.
    void anEntryOpenedInTheEditorIsSavedAsTheArchiveShowsIt()
    {
        SimulatedEditor e(2);
        const QStringList ids = recordUploadThenDownload(e.folder.file(QStringLiteral("archive")));
        const ConfigImage before = ConfigImage::of(e.state());
        InstrumentHistoryWindow *w = openHistory(e);
        QVERIFY(w);
        QTest::mouseClick(child<QPushButton>(*w, QStringLiteral("cmdOpenInEditor")), Qt::LeftButton);
        QVERIFY(e.prompts.verifyAllUsed()); // every part is known: nothing to ask
        QVERIFY(e.window->isWindowModified());
        QVERIFY(e.window->windowTitle().contains(
            QStringLiteral("Instrument %1, entry of %2")
                .arg(kSerial, kStart.addSecs(60).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))));
        QCOMPARE(ConfigImage::of(e.state()).comPort, before.comPort); // the port is this PC's, not the entry's

        e.window->history().undo();
        QVERIFY(ConfigImage::of(e.state()) == before);
        QVERIFY(!e.window->isWindowModified());
        e.window->history().redo();
        e.trigger(QStringLiteral("Save"));
        QVERIFY(!e.window->isWindowModified());

        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::Host host{{outStream, errStream, {}, false, false, {}, {}}, e.port, e.clock, e.folder.path(), {}, {}, {}};
        const QString shown = e.folder.file(QStringLiteral("SHOWN.CFG"));
        QCOMPARE(cli::run({QStringLiteral("corvane-cli"), QStringLiteral("archive"), QStringLiteral("show"), kSerial,
                           ids.last(), shown, QStringLiteral("--archive"), e.folder.file(QStringLiteral("archive"))},
                          host),
                 cli::kExitDone);
        QList<QByteArray> saved = fileLines(e.defaultFile()),
                          expected = fileLines(e.folder.read(QStringLiteral("SHOWN.CFG")));
        QCOMPARE(saved.size(), expected.size());
        for (QList<QByteArray> *lines : {&saved, &expected}) {
            lines->removeAt(5); // the port
            lines->removeAt(2); // the date
        }
        QVERIFY(saved == expected);
    }

    // "Upload this version…" replaces changes not saved only when told to, then sends
    // the entry through the editor's upload and its warning.
    void uploadThisVersionSendsTheEntry()
    {
        SimulatedEditor e(2);
        e.sim.memory = SimMemory::factory(e.sim.softwareVersion);
        recordUploadThenDownload(e.folder.file(QStringLiteral("archive")));
        e.state().link.portNumber = 2;
        e.state().configBlock[3][28] = 30; // a change not saved
        e.window->history().checkpoint();
        InstrumentHistoryWindow *w = openHistory(e);
        QVERIFY(w);
        auto *entries = child<QTreeWidget>(*w, QStringLiteral("lstEntries"));
        entries->clearSelection();
        entries->topLevelItem(1)->setSelected(true); // the upload, with display sample 1
        e.prompts.no();
        QTest::mouseClick(child<QPushButton>(*w, QStringLiteral("cmdUploadVersion")), Qt::LeftButton);
        QCOMPARE(int(e.state().configBlock[3][28]), 30);
        QCOMPARE(e.port.written, QByteArray());

        e.prompts.yes();
        e.clock.scheduleIn(0.1, [&] { e.window->warningWindow()->onWarningContinueClicked(); });
        QTest::mouseClick(child<QPushButton>(*w, QStringLiteral("cmdUploadVersion")), Qt::LeftButton);
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.prompts.records.at(0).text.contains(QStringLiteral("changes not saved")));
        ConfigImage entry = kit::sampleImage(1);
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(e.sim.memory.eeprom.mid(proto::kConfigBlockBase + 128 * (n - 1) + 1, 127),
                     QByteArray(reinterpret_cast<const char *>(entry.blocks[n] + 1), 127));
        QCOMPARE(int(quint8(e.sim.memory.nvm[layout::kPulleyRatio])), int(kit::sampleSetting(entry)));
    }
};

QTEST_MAIN(TestInstrumentHistory)
#include "tst_instrumenthistory_gui.moc"
