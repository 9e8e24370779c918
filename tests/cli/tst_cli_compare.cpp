// corvane-cli compare lists exactly the fields that differ between two files, as the compare window does.
#include "Simulator.h"
#include "cli/Cli.h"
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"

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

        VirtualClock clock;
        Simulator sim;
        SimulatorPort port{sim, clock};
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::Host host{{outStream, errStream, {}, false, false, {}, {}}, port, clock, folder.path(), {}, {}, {}};
        const int code = cli::run({QStringLiteral("corvane-cli"), QStringLiteral("compare"),
                                   folder.file(QStringLiteral("A.CFG")), folder.file(QStringLiteral("B.CFG"))},
                                  host);
        outStream.flush();
        errStream.flush();

        QCOMPARE(code, exitCode);
        if (exitCode) {
            QVERIFY2(err.contains(expected), qPrintable(err));
            QVERIFY(out.isEmpty());
            return;
        }
        const QString summary = expected.isEmpty()
                                    ? QStringLiteral("A.CFG and B.CFG hold the same configuration.")
                                    : QStringLiteral("1 difference(s): values in A.CFG → values in B.CFG.");
        const QString whole = QStringLiteral("Compare A.CFG with B.CFG\n") + summary +
                              (expected.isEmpty() ? QString() : QStringLiteral("\n\n") + expected) +
                              QStringLiteral("\n");
        QCOMPARE(out, whole);
    }
};

QTEST_GUILESS_MAIN(TestCliCompare)
#include "tst_cli_compare.moc"
