// corvane-cli archive: each subcommand's output on an archive recorded through the
// library, and on one the command line's own operations recorded.
#include "archive/Archive.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "core/ImageLayout.h"
#include "kit/ArchiveSamples.h"
#include "kit/CfgLines.h"
#include "kit/CliRun.h"
#include "kit/TempProgramFolder.h"

#include <QRegularExpression>
#include <QTest>
#include <iterator>

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

    // An upload and a download through corvane-cli record their entries; the archive
    // commands read them back.
    void operationsRecordTheirEntries()
    {
        TempProgramFolder folder;
        const QString archiveFolder = folder.file(QStringLiteral("archive"));
        Simulator sim;
        sim.memory = SimMemory::factory(sim.softwareVersion);
        // The instrument holds the file's settings with the counter one behind: the
        // upload writes the file exactly.
        EditorState s;
        writeDefaultsToRam(s);
        s.link.portNumber = 1;
        s.configBlock[2][9] ^= 0x11;
        const quint8 firstUpload[] = {24, 1, 15}; // an instrument uploaded to before
        std::copy(std::begin(firstUpload), std::end(firstUpload), s.systemBlock + layout::kFirstUploadDate);
        for (int i = 0; i < 4; ++i) // the instrument's own serial number
            s.systemBlock[layout::kSerialNumber + i] = quint8(sim.memory.nvm[layout::kSerialNumber + i]);
        s.systemBlock[layout::kUploadCounter + 1] = 4;
        const QString file = folder.file(QStringLiteral("BOAT.CFG"));
        QVERIFY(writeConfigFile(s, file).isEmpty());
        quint8 held[257] = {};
        std::copy(std::begin(s.systemBlock), std::end(s.systemBlock), held);
        held[layout::kUploadCounter + 1] = 3;
        held[layout::kSystemChecksum] = systemBlockChecksum(held);
        for (int b = 0; b < 256; ++b)
            sim.memory.nvm[b] = char(held[b]);

        const QStringList where{QStringLiteral("--port"), QStringLiteral("/dev/null"), QStringLiteral("--yes"),
                                QStringLiteral("--archive"), archiveFolder};
        const auto run = [&](const QStringList &arguments) { return kit::runCli(sim, arguments, folder.path()); };
        kit::CliRun done = run(QStringList{QStringLiteral("upload"), file} + where);
        QCOMPARE(done.code, 0);
        done = run(QStringList{QStringLiteral("download"), folder.file(QStringLiteral("OUT.CFG"))} + where);
        QCOMPARE(done.code, 0);
        QVERIFY2(!done.err.contains(QStringLiteral("archive")), qPrintable(done.err));

        const QStringList in{QStringLiteral("--archive"), archiveFolder};
        done = run(QStringList{QStringLiteral("archive"), QStringLiteral("list")} + in);
        QCOMPARE(done.code, 0);
        const QString time = QStringLiteral("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}Z");
        QVERIFY2(
            QRegularExpression(QStringLiteral("^80315012 +2  %1  download\n$").arg(time)).match(done.out).hasMatch(),
            qPrintable(done.out));
        done = run(QStringList{QStringLiteral("archive"), QStringLiteral("log"), QStringLiteral("80315012")} + in);
        QCOMPARE(done.code, 0);
        const QRegularExpressionMatch log =
            QRegularExpression(QStringLiteral("^(\\S+)  %1  download  completed  0 fields changed\n"
                                              "(\\S+)  %1  upload  completed  -\n$")
                                   .arg(time))
                .match(done.out);
        QVERIFY2(log.hasMatch(), qPrintable(done.out));

        // The newest image: the download's settings over the upload's configurations and curves.
        const QString shown = folder.file(QStringLiteral("SHOWN.CFG"));
        done =
            run(QStringList{QStringLiteral("archive"), QStringLiteral("show"), QStringLiteral("80315012"), shown} + in);
        QCOMPARE(done.code, 0);
        QCOMPARE(kit::linesWithoutDate(shown), kit::linesWithoutDate(file));
        done = run(QStringList{QStringLiteral("archive"), QStringLiteral("diff"), QStringLiteral("80315012"),
                               log.captured(2), log.captured(1)} +
                   in);
        QCOMPARE(done.code, 0);
        QVERIFY2(done.out.contains(QStringLiteral("hold the same configuration.")), qPrintable(done.out));

        // --no-archive records nothing, whatever else names the archive.
        QCOMPARE(run(QStringList{QStringLiteral("download"), folder.file(QStringLiteral("OUT.CFG")),
                                 QStringLiteral("--no-archive")} +
                     where)
                     .code,
                 0);
        done = run(QStringList{QStringLiteral("archive"), QStringLiteral("list")} + in);
        QVERIFY2(done.out.startsWith(QStringLiteral("80315012        2  ")), qPrintable(done.out));

        // An archive that cannot record (a file where its folder should be): the upload
        // still succeeds, and one line on standard error says why nothing was recorded.
        done = run(QStringList{QStringLiteral("upload"), file, QStringLiteral("--port"), QStringLiteral("/dev/null"),
                               QStringLiteral("--yes"), QStringLiteral("--archive"), file});
        QCOMPARE(done.code, 0);
        QVERIFY(done.out.contains(QStringLiteral("Upload done")));
        const QStringList told = done.err.split(QLatin1Char('\n')).filter(QStringLiteral("instrument archive"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(QStringLiteral("did not record the upload of instrument 80315012")),
                 qPrintable(done.err));
    }
};

QTEST_GUILESS_MAIN(TestCliArchive)
#include "tst_cli_archive.moc"
