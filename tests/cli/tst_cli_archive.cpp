// corvane-cli archive: each subcommand's output on an archive recorded through the library.
#include "archive/Archive.h"
#include "core/ConfigFile.h"
#include "kit/ArchiveSamples.h"
#include "kit/CliRun.h"
#include "kit/TempProgramFolder.h"

#include <QTest>

namespace
{
const QDateTime kStart(QDate(2026, 5, 1), QTime(9, 0), Qt::UTC);
} // namespace

class TestCliArchive : public QObject
{
    Q_OBJECT
private slots:
    void subcommands_data()
    {
        QTest::addColumn<QString>("command"); // {A}: the archive, {1} {2}: the entries, {F}: the temporary folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // standard output, or a part of standard error on a failure
        QTest::newRow("list") << "list" << 0
                              << "61231042        2  2026-05-01T09:02:00Z  download\n"
                                 "0               1  2026-05-01T09:00:00Z  upload\n";
        QTest::newRow("log") << "log 61231042" << 0
                             << "{2}  2026-05-01T09:02:00Z  download  completed  1 field changed\n"
                                "{1}  2026-05-01T09:01:00Z  upload  completed  -\n";
        QTest::newRow("diff") << "diff 61231042 {1} {2}" << 0
                              << "Compare {1} with {2}\n1 difference(s): values in {1} → values in {2}.\n\n"
                                 "Units and settings (1 difference)\n  Tachometer pulley ratio: 5:1 → 10:1\n";
        QTest::newRow("show the newest") << "show 61231042 {F}/NEW.CFG" << 0
                                         << "Entry {2} of instrument 61231042 written to {F}/NEW.CFG.\n";
        QTest::newRow("an unknown instrument")
            << "log 999" << 1 << "cannot be read: it holds no entry for instrument 999.";
        QTest::newRow("sync") << "sync --remote {F}/workshop" << 0
                              << "Synchronised with {F}/workshop: 0 entries received, 3 sent.\n";
    }
    void subcommands()
    {
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        TempProgramFolder folder;
        const archive::Archive a(folder.file(QStringLiteral("archive")));
        QVERIFY(a.record(kit::sampleObservation(QStringLiteral("0"), archive::operation::kUpload, archive::Parts::all(),
                                                kStart, 5))
                    .ok());
        const QString first = a.record(kit::sampleObservation(QStringLiteral("61231042"), archive::operation::kUpload,
                                                              archive::Parts::all(), kStart.addSecs(60), 1))
                                  .value;
        archive::Parts settings;
        settings.settings = true;
        const QString second =
            a.record(kit::sampleObservation(QStringLiteral("61231042"), archive::operation::kDownload, settings,
                                            kStart.addSecs(120), 2))
                .value;
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("workshop"))));
        const auto filled = [&](QString text) {
            return text.replace(QStringLiteral("{1}"), first)
                .replace(QStringLiteral("{2}"), second)
                .replace(QStringLiteral("{F}"), folder.path());
        };

        const kit::CliRun run =
            kit::runCli(QStringList{QStringLiteral("archive")} + filled(command).split(QLatin1Char(' ')) +
                            QStringList{QStringLiteral("--archive"), a.folder()},
                        folder.path());
        QCOMPARE(run.code, exitCode);
        if (exitCode) {
            QVERIFY2(run.err.contains(filled(output)), qPrintable(run.err));
            return;
        }
        QCOMPARE(run.out, filled(output));
        if (command.startsWith(QLatin1String("show"))) {
            // The newest settings over the display configurations of the upload before.
            ConfigFileImage file;
            QVERIFY(readConfigFile(folder.file(QStringLiteral("NEW.CFG")), file).ok);
            ConfigImage shown = ConfigImage::of(file), settingsFrom = kit::sampleImage(2),
                        displayFrom = kit::sampleImage(1);
            QCOMPARE(kit::sampleSetting(shown), kit::sampleSetting(settingsFrom));
            QCOMPARE(kit::sampleDisplay(shown), kit::sampleDisplay(displayFrom));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliArchive)
#include "tst_cli_archive.moc"
