// The Instrument History window: the archive's instruments and entries, and each
// comparison made in the parts both sides know.
#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"
#include "core/ConfigFile.h"
#include "kit/ArchiveSamples.h"
#include "kit/Child.h"
#include "kit/ScriptedPrompts.h"
#include "ui/dialogs/InstrumentHistoryWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace
{
const QDateTime kStart(QDate(2026, 5, 1), QTime(9, 0), Qt::UTC);
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
        QCOMPARE(differences, QList<int>({1, 3}));

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
};

QTEST_MAIN(TestInstrumentHistory)
#include "tst_instrumenthistory_gui.moc"
