// The instrument archive through the real main window: what each operation with the
// simulated instrument leaves in it, and an archive that cannot record.
#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "core/ConfigFile.h"
#include "core/ImageLayout.h"
#include "core/Protocol.h"
#include "editor/SimulatedEditor.h"
#include "kit/CfgLines.h"
#include "ui/LinkWindows.h"
#include "ui/TransferWarning.h"
#include "ui/editor/FileController.h"
#include "ui/editor/InstrumentController.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <iterator>

namespace
{
const QString kSerial = QStringLiteral("80315012");

struct Editor : SimulatedEditor {
    explicit Editor(const QString &archiveFolder) : SimulatedEditor(2, false)
    {
        archive::Settings settings;
        settings.folder = archiveFolder;
        settings.save();
        sim.memory = SimMemory::factory(sim.softwareVersion);
        open();
        state().link.portNumber = 2;
        state().transfer.askUser = false; // the upload asks nothing
    }
    // The download's warning, answered CONTINUE.
    void download()
    {
        clock.scheduleIn(0.5, [this] {
            window->warningWindow()->findChild<QPushButton *>(QStringLiteral("cmdWarningContinue"))->click();
        });
        window->instrumentArea().download();
    }
    // The upload's warning, answered "Compare first…" and then CANCEL once it is asked again.
    void uploadComparingFirst()
    {
        state().transfer.askUser = true;
        TransferWarning *warning = window->warningWindow();
        clock.scheduleIn(0.5, [this, warning] {
            warning->findChild<QPushButton *>(QStringLiteral("cmdWarningCompare"))->click();
            answerWhenAskedAgain(warning);
        });
        window->instrumentArea().upload();
        state().transfer.askUser = false;
    }
    void answerWhenAskedAgain(TransferWarning *warning)
    {
        clock.scheduleIn(0.5, [this, warning] {
            if (warning->isVisible())
                warning->findChild<QPushButton *>(QStringLiteral("cmdWarningCancel"))->click();
            else
                answerWhenAskedAgain(warning);
        });
    }
    // Waits for the recording thread to have told of `operations` operations' entries
    // (the windows may run them while a later operation waits for the instrument).
    static bool entriesArrive(QSignalSpy &recorded, int operations)
    {
        return QTest::qWaitFor([&] { return recorded.size() >= operations; }, 10000);
    }
};

} // namespace

class TestRecording : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // An upload, a download, a compare with the instrument and a cancelled upload, each
    // with the entry of what it learnt; the upload's entry is the file it uploaded.
    void eachOperationLeavesItsEntry()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("archive"));
        Editor e(folder);
        EditorState &s = e.state();
        // The instrument holds the file's settings but the counter of new
        // configurations, one behind: the upload writes the file exactly.
        const QString file = dir.filePath(QStringLiteral("BOAT.CFG"));
        s.configBlock[3][5] ^= 0x21;
        QVERIFY(writeConfigFile(s, file).isEmpty());
        QVERIFY(e.window->fileArea().openConfigFile(file));
        const quint8 firstUpload[] = {24, 1, 15}; // an instrument uploaded to before
        std::copy(std::begin(firstUpload), std::end(firstUpload), s.systemBlock + layout::kFirstUploadDate);
        for (int i = 0; i < 4; ++i) // the instrument's own serial number
            s.systemBlock[layout::kSerialNumber + i] = quint8(e.sim.memory.nvm[layout::kSerialNumber + i]);
        s.systemBlock[layout::kUploadCounter + 1] = 7;
        QVERIFY(writeConfigFile(s, file).isEmpty());
        quint8 held[257] = {};
        std::copy(std::begin(s.systemBlock), std::end(s.systemBlock), held);
        held[layout::kUploadCounter + 1] = 6;
        held[layout::kSystemChecksum] = systemBlockChecksum(held);
        for (int b = 0; b < 256; ++b)
            e.sim.memory.nvm[b] = char(held[b]);

        // Recorded on a thread of its own: the entries arrive after the operations.
        QSignalSpy recorded(&e.window->instrumentArea(), &InstrumentController::entryRecorded);
        e.window->instrumentArea().upload();
        e.download();
        e.window->instrumentArea().compareWithInstrument();
        e.prompts.ok(); // "The upload was cancelled. ..."
        e.clock.scheduleIn(8.0, [&] { e.window->linkWindows().onCancel(); });
        e.window->instrumentArea().upload();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.entriesArrive(recorded, 4));
        QCOMPARE(recorded.last().value(0).toString(), kSerial);

        const archive::Archive a(folder);
        const auto entries = a.entries(kSerial);
        QVERIFY2(entries.ok(), qPrintable(entries.problem));
        QCOMPARE(entries.value.size(), 4);
        const archive::Observation &cancelled = entries.value[0].about, &compare = entries.value[1].about,
                                   &download = entries.value[2].about, &upload = entries.value[3].about;
        QCOMPARE(upload.operation, archive::operation::kUpload);
        QCOMPARE(upload.outcome, archive::Outcome::Completed);
        QVERIFY(upload.known.whole());
        QVERIFY(upload.written.whole());
        QCOMPARE(upload.sourceFile, QStringLiteral("BOAT.CFG"));
        QCOMPARE(upload.port, QStringLiteral("COM2"));
        QCOMPARE(upload.identity.serialNumber, kSerial);

        QCOMPARE(download.operation, archive::operation::kDownload);
        QCOMPARE(download.outcome, archive::Outcome::Completed);
        QCOMPARE(download.known, archive::Parts::settingsOnly());
        QVERIFY(!download.written.any());

        QCOMPARE(compare.operation, archive::operation::kCompare);
        QVERIFY(compare.known.whole());
        QVERIFY(!compare.written.any());

        // The cancelled upload says what it wrote, and knows none of it any more.
        QCOMPARE(cancelled.outcome, archive::Outcome::Cancelled);
        QVERIFY2(cancelled.outcomeText.startsWith(
                     QStringLiteral("The upload was cancelled.\nThe settings and display configurations 1 to ")),
                 qPrintable(cancelled.outcomeText));
        QVERIFY(!cancelled.known.any());
        QVERIFY(cancelled.written.settings && cancelled.written.configurations[0]);
        QVERIFY(!cancelled.written.curves);
        const auto now = a.image(kSerial);
        QVERIFY(now.ok());
        QCOMPARE(now.value.known.without(cancelled.written), now.value.known);
        QVERIFY(now.value.known.curves); // from the compare: the upload stopped before them

        // The upload's entry as a configuration file is the file uploaded.
        const auto uploaded = a.image(kSerial, entries.value[3].id);
        QVERIFY(uploaded.ok());
        EditorState shown;
        uploaded.value.image.applyTo(shown);
        const QString out = dir.filePath(QStringLiteral("ENTRY.CFG"));
        QVERIFY(writeConfigFile(shown, out).isEmpty());
        QCOMPARE(kit::linesWithoutDate(out), kit::linesWithoutDate(file));
    }

    // An archive that cannot record: every upload still completes, and one message a
    // session names the archive's problem.
    void anArchiveThatCannotRecordIsToldOnce()
    {
        QTemporaryDir dir;
        const QString blocked = dir.filePath(QStringLiteral("archive"));
        QFile plain(blocked);
        QVERIFY(plain.open(QIODevice::WriteOnly)); // a file where the folder should be
        plain.close();
        Editor e(blocked);
        e.prompts.ok();
        for (int i = 0; i < 2; ++i)
            e.window->instrumentArea().upload();
        // Told on the window's thread once the entry failed; quitting tells nothing more.
        QTRY_COMPARE_WITH_TIMEOUT(e.prompts.records.size(), 1, 10000);
        e.window->instrumentArea().finishRecording();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.prompts.records.size(), 1);
        QVERIFY2(e.prompts.last().text.contains(QStringLiteral("did not record the upload of instrument 80315012")),
                 qPrintable(e.prompts.last().text));
        QCOMPARE(e.sim.memory.eeprom.mid(proto::kConfigBlockBase + 1, 127),
                 QByteArray(reinterpret_cast<const char *>(e.state().configBlock[1] + 1), 127));
    }

    // The history window, left open, shows each entry as it arrives, keeping the
    // instrument and the entry chosen; a "Compare first…" of the upload's warning is a
    // compare with the instrument of its own.
    void theOpenHistoryFollowsNewEntries()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("archive"));
        Editor e(folder);
        QSignalSpy recorded(&e.window->instrumentArea(), &InstrumentController::entryRecorded);
        e.download();
        e.download();
        QVERIFY(e.entriesArrive(recorded, 2));
        e.window->findChild<QAction *>(QStringLiteral("InstrumentHistory"))->trigger();
        auto *history = e.window->findChild<QWidget *>(QStringLiteral("InstrumentHistoryWindow"));
        QVERIFY(history && history->isVisible());
        auto *entries = history->findChild<QTreeWidget *>(QStringLiteral("lstEntries"));
        QCOMPARE(entries->topLevelItemCount(), 2);
        QTreeWidgetItem *older = entries->topLevelItem(1);
        entries->setCurrentItem(older);
        const QString chosen = older->data(0, Qt::UserRole).toString();

        e.uploadComparingFirst();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.entriesArrive(recorded, 3));
        QTRY_COMPARE_WITH_TIMEOUT(entries->topLevelItemCount(), 4, 10000);
        QCOMPARE(entries->selectedItems().size(), 1);
        QCOMPARE(entries->selectedItems().first()->data(0, Qt::UserRole).toString(), chosen);
        const auto *instruments = history->findChild<QTreeWidget *>(QStringLiteral("lstInstruments"));
        QCOMPARE(instruments->selectedItems().first()->data(0, Qt::UserRole).toString(), kSerial);

        // The compare first, whole, then the upload cancelled at its warning.
        const auto list = archive::Archive(folder).entries(kSerial);
        QVERIFY2(list.ok(), qPrintable(list.problem));
        QCOMPARE(list.value.size(), 4);
        const archive::Observation &compare = list.value[1].about;
        QCOMPARE(compare.operation, archive::operation::kCompare);
        QCOMPARE(compare.outcome, archive::Outcome::Completed);
        QVERIFY(compare.known.whole());
        QVERIFY(!compare.written.any());
        QCOMPARE(list.value[0].about.operation, archive::operation::kUpload);
        QVERIFY(!list.value[0].about.written.any());
    }
};

QTEST_MAIN(TestRecording)
#include "tst_recording_gui.moc"
