// corvane-cli compare lists exactly the fields that differ between two files, as the compare window does;
// corvane-cli merge takes exactly the chosen parts of one file into another.
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "kit/CliRun.h"
#include "kit/TempProgramFolder.h"

#include "core/FieldTable.h"

#include <QTest>
#include <functional>

using Edit = std::function<void(EditorState &)>;
Q_DECLARE_METATYPE(Edit)

namespace
{
QByteArray configuration(const Edit &edit)
{
    EditorState s;
    writeDefaultsToRam(s);
    if (edit)
        edit(s);
    return configFileText(s, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
}

bool readImage(const QString &path, ConfigImage &image)
{
    ConfigFileImage file;
    if (!readConfigFile(path, file).ok)
        return false;
    image = ConfigImage::of(file);
    return file.system[0] == systemBlockChecksum(file.system);
}
} // namespace

class TestCliCompare : public QObject
{
    Q_OBJECT
private slots:
    void compare_data()
    {
        QTest::addColumn<Edit>("editB");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // the lines that follow the title and summary, or an error
        QTest::newRow("same") << Edit() << 0 << QString();
        QTest::newRow("tank size") << Edit([](EditorState &s) { s.setSystemWord(21, 1234); }) << 0
                                   << "Tanks (1 difference)\n  Fuel tank size: 100 → 123.4";
        QTest::newRow("display source")
            << Edit([](EditorState &s) { s.configBlock[3][28] = 30; }) << 0
            << "Display configuration 3 (1 difference)\n"
               "  Configuration 3 · Digital Display #1 · Display Data from: NMEA 0183 input #2A → NMEA 0183 input #4B";
        QTest::newRow("bad file") << Edit() << 1 << "B.CFG\" could not be read";
    }
    void compare()
    {
        QFETCH(Edit, editB);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        TempProgramFolder folder;
        QVERIFY(folder.write("A.CFG", configuration({})));
        QVERIFY(folder.write("B.CFG", exitCode ? QByteArray("not a configuration\r\n") : configuration(editB)));

        const kit::CliRun run = kit::runCli(
            {QStringLiteral("compare"), folder.file(QStringLiteral("A.CFG")), folder.file(QStringLiteral("B.CFG"))},
            folder.path());

        QCOMPARE(run.code, exitCode);
        if (exitCode) {
            QVERIFY2(run.err.contains(expected), qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
            return;
        }
        const QString summary = expected.isEmpty()
                                    ? QStringLiteral("A.CFG and B.CFG hold the same configuration.")
                                    : QStringLiteral("1 difference(s): values in A.CFG → values in B.CFG.");
        const QString whole = QStringLiteral("Compare A.CFG with B.CFG\n") + summary +
                              (expected.isEmpty() ? QString() : QStringLiteral("\n\n") + expected) +
                              QStringLiteral("\n");
        QCOMPARE(run.out, whole);
    }

    void merge_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");       // the result, or the refusal
        QTest::addColumn<QStringList>("differing"); // fields of OUT.CFG that differ from BASE.CFG
        // FROM.CFG differs from BASE.CFG in the fuel tank size, the race timers, an
        // alarm limit and the data sources of displays in configurations 2 and 3.
        QTest::newRow("two categories")
            << QStringList{"--categories", "alarm-values,14"} << 0
            << "OUT.CFG written: BASE.CFG with Hi/Lo Alarm Values, Race Timers taken from FROM.CFG (2 fields "
               "changed)."
            << QStringList{"NMEA 0183 input #1A · Low Alarm Limit", "Race timers"};
        QTest::newRow("configurations 1, 3-5")
            << QStringList{"--categories", "displays", "--configurations", "1,3-5"} << 0
            << "with Display Configurations 1, 3 to 5 taken from FROM.CFG (1 field changed)."
            << QStringList{"Configuration 3 · Digital Display #1 · Display Data from"};
        QTest::newRow("the clock is in no file") << QStringList{"--categories", "clock"} << 1
                                                 << "12 (Time-Of-Day Clock) cannot be chosen here" << QStringList();
        QTest::newRow("no categories") << QStringList{} << 1 << "--categories is required" << QStringList();
        QTest::newRow("configuration 17") << QStringList{"--categories", "1", "--configurations", "2,17"} << 1
                                          << "\"17\" is not a display configuration" << QStringList();
        QTest::newRow("configurations without displays")
            << QStringList{"--categories", "units", "--configurations", "3"} << 1 << "add \"displays\" (1)"
            << QStringList();
    }
    void merge()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QStringList, differing);
        TempProgramFolder folder;
        QVERIFY(folder.write("BASE.CFG", configuration({})));
        QVERIFY(folder.write("FROM.CFG", configuration([](EditorState &s) {
                                 s.setSystemWord(21, 1234);
                                 s.systemBlock[66] = 3;
                                 s.setSystemWord(180, 5);
                                 s.configBlock[2][28] = 30;
                                 s.configBlock[3][28] = 30;
                             })));
        const QString out = folder.file(QStringLiteral("OUT.CFG"));
        const kit::CliRun run =
            kit::runCli(QStringList{QStringLiteral("merge"), folder.file(QStringLiteral("BASE.CFG")),
                                    folder.file(QStringLiteral("FROM.CFG")), out} +
                            options,
                        folder.path());

        QCOMPARE(run.code, exitCode);
        QVERIFY2((exitCode ? run.err : run.out).contains(message), qPrintable(run.err + run.out));
        if (exitCode) {
            QVERIFY(!folder.exists("OUT.CFG"));
            return;
        }
        ConfigImage base, merged;
        QVERIFY(readImage(folder.file(QStringLiteral("BASE.CFG")), base));
        QVERIFY(readImage(out, merged));
        QStringList names;
        for (const fields::Line &line : fields::differences(base, merged))
            names << line.field;
        QCOMPARE(names, differing);
        for (int n = 1; n <= 16; ++n)
            QCOMPARE(merged.blocks[n][0], configBlockChecksum(merged.blocks[n]));
    }
};

QTEST_GUILESS_MAIN(TestCliCompare)
#include "tst_cli_compare.moc"
