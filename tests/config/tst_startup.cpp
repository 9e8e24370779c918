// Start-up's loading of DEFAULT.CFG and its silent fall-back to the defaults.
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "core/StartUp.h"
#include "kit/TempProgramFolder.h"

#include <QTest>

namespace
{
QByteArray defaultsWithPort(int port)
{
    EditorState s;
    writeDefaultsToRam(s);
    s.link.portNumber = quint8(port);
    s.calCurve[9][2][2] = 77.0f;
    return configFileText(s, QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
}
} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void goodFileLoads()
    {
        TempProgramFolder dir;
        QVERIFY(dir.write("DEFAULT.CFG", defaultsWithPort(4)));
        EditorState s;
        const DefaultLoadOutcome o = loadDefaultConfiguration(s, dir.file("DEFAULT.CFG"));
        QVERIFY(o.loaded);
        QCOMPARE(int(s.link.portNumber), 4);
        QCOMPARE(s.calCurve[9][2][2], 77.0f);
        QCOMPARE(dir.read("DEFAULT.CFG"), defaultsWithPort(4)); // untouched
    }

    void everyFailureFallsBackAndSaves_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        const QByteArray good = defaultsWithPort(4);
        QByteArray notNumber = good;
        notNumber.replace(" 1 , 26 ", " 1 , zz ");
        QByteArray above = good;
        above.replace("CDC( 2 - 28 ),  23 ", "CDC( 2 - 28 ),  300 ");
        QByteArray noEnd = good;
        noEnd.chop(4); // "-1\r\n"
        QByteArray sender = good;
        sender.replace(" 100 , 3 ", " 100 , 9 ");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("short") << good.left(5000);
        QTest::newRow("not a number") << notNumber;
        QTest::newRow("byte above 255") << above;
        QTest::newRow("no -1") << noEnd;
        QTest::newRow("sender without position") << sender;
    }
    void everyFailureFallsBackAndSaves()
    {
        QFETCH(QByteArray, content);
        TempProgramFolder dir;
        if (!content.isEmpty())
            QVERIFY(dir.write("DEFAULT.CFG", content));
        EditorState s;
        s.link.portNumber = 9;
        const DefaultLoadOutcome o = loadDefaultConfiguration(s, dir.file("DEFAULT.CFG"));
        QVERIFY(!o.loaded);
        QCOMPARE(o.saveError, QString());
        QCOMPARE(int(s.link.portNumber), 0);
        QCOMPARE(int(s.systemBlock[100]), 3);

        // The file now holds the defaults with port 0.
        EditorState expected;
        writeDefaultsToRam(expected);
        const QByteArray written = dir.read("DEFAULT.CFG");
        QVERIFY(written.contains("\r\nCOMport=, 0 \r\n"));
        ConfigFileImage image;
        QVERIFY(readConfigFile(dir.file("DEFAULT.CFG"), image).ok);
        QVERIFY(memcmp(image.blocks[1] + 1, expected.configBlock[1] + 1, 127) == 0);
    }

    void curvesReadBeforeTheFailureSurvive()
    {
        TempProgramFolder dir;
        QByteArray text = defaultsWithPort(2);
        text.chop(4); // the curves were read, the "-1" is missing
        QVERIFY(dir.write("DEFAULT.CFG", text));
        EditorState s;
        QVERIFY(!loadDefaultConfiguration(s, dir.file("DEFAULT.CFG")).loaded);
        QCOMPARE(s.calCurve[9][2][2], 77.0f);
        QVERIFY(dir.read("DEFAULT.CFG").contains(" 15 , 77 \r\n"));
    }

    void unwritableDefaultIsReportedNotFatal()
    {
        TempProgramFolder dir;
        QDir(dir.path()).mkdir("DEFAULT.CFG"); // neither readable as a file nor writable
        EditorState s;
        const DefaultLoadOutcome o = loadDefaultConfiguration(s, dir.file("DEFAULT.CFG"));
        QVERIFY(!o.loaded);
        QVERIFY(!o.saveError.isEmpty());
        QCOMPARE(int(s.systemBlock[1]), 26); // defaults in memory all the same
    }

    void stateReset()
    {
        EditorState s;
        s.link.connected = true;
        s.factory.armed = true;
        s.session.exitPrompted = true;
        s.transfer.askUser = false;
        s.transfer.upload[3] = 0;
        s.instrument.serialNumber = " 5";
        resetStartupState(s, false);
        QCOMPARE(s.link.connected, false);
        QCOMPARE(s.factory.armed, false);
        QCOMPARE(s.session.exitPrompted, false);
        QCOMPARE(s.transfer.askUser, true);
        QCOMPARE(int(s.transfer.upload[3]), 0); // only the first run resets these
        QCOMPARE(s.instrument.serialNumber, QString(" 5"));
        resetStartupState(s, true);
        QCOMPARE(int(s.transfer.upload[3]), 1);
        QCOMPARE(s.instrument.serialNumber, QString("Unknown"));
        QCOMPARE(int(s.transfer.download[8]), 1);
        QCOMPARE(int(s.transfer.download[12]), 0);
    }

    void workingFolder()
    {
        TempProgramFolder dir;
        bool fallback = true;
        QCOMPARE(chooseWorkingFolder(dir.path(), &fallback), QDir(dir.path()).absolutePath());
        QVERIFY(!fallback);
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
