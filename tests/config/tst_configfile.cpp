// The configuration file: exact lines, round trips, and every way a file can be bad.
#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "core/NumberText.h"
#include "kit/CommaDecimalLocale.h"
#include "kit/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cfloat>
#include <cmath>
#include <limits>

namespace
{
const QDateTime kCreated(QDate(2011, 6, 14), QTime(9, 5, 7));

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray defaultFileText()
{
    EditorState s;
    writeDefaultsToRam(s);
    return configFileText(s, kCreated);
}
} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT
private slots:
    void defaultFileLineByLine()
    {
        const QByteArray text = defaultFileText();
        const QList<QByteArray> lines = linesOf(text);
        QCOMPARE(lines.size(), 3351);
        for (const QByteArray &l : lines)
            QVERIFY2(l.endsWith('\r'), l.constData());
        QCOMPARE(text.count('\n'), 3351);
        QCOMPARE(lines[0], QByteArray("Corvane Display Configuration File - Do NOT make any changes!\r"));
        QCOMPARE(lines[1], QByteArray("Ver 1.0.3\r"));
        QCOMPARE(lines[2], QByteArray("Date created: 06-14-2011.  Time created: 09:05:07\r"));
        QCOMPARE(lines[3], QByteArray("*\r"));
        QCOMPARE(lines[4], QByteArray("*\r"));
        QCOMPARE(lines[5], QByteArray("COMport=, 0 \r"));

        // System block: line 7 + i, checksum computed.
        EditorState s;
        writeDefaultsToRam(s);
        const quint8 sum = systemBlockChecksum(s.systemBlock);
        QCOMPARE(lines[6], QByteArray(" 0 , ") + QByteArray::number(sum) + " \r");
        QCOMPARE(lines[7], QByteArray(" 1 , 26 \r"));
        QCOMPARE(lines[6 + 22], QByteArray(" 22 , 232 \r"));
        QCOMPARE(lines[6 + 255], QByteArray(" 255 , 255 \r"));

        // Blocks: separator then 128 lines, from line 263.
        QCOMPARE(lines[262], QByteArray(" \r"));
        const quint8 block1Sum = configBlockChecksum(s.configBlock[1]);
        QCOMPARE(lines[263], QByteArray("CDC( 1 - 0 ),  ") + QByteArray::number(block1Sum) + " \r");
        QCOMPARE(lines[263 + 28], QByteArray("CDC( 1 - 28 ),  25 \r"));
        QCOMPARE(lines[262 + 15 * 129], QByteArray(" \r"));
        QCOMPARE(lines[262 + 15 * 129 + 1 + 127], QByteArray("CDC( 16 - 127 ),  255 \r"));

        // Curves from line 2327, the linear default curve.
        QCOMPARE(lines[2326], QByteArray(" 10 , 0 \r"));
        QCOMPARE(lines[2327], QByteArray(" 15 , 32 \r"));
        QCOMPARE(lines[2326 + 31], QByteArray(" 180 , 1000 \r"));
        QCOMPARE(lines[3349], QByteArray(" 180 , 1000 \r"));
        QCOMPARE(lines[3350], QByteArray("-1\r"));
    }

    void blockChecksumsAreTheirOwn()
    {
        EditorState s;
        writeDefaultsToRam(s);
        for (int n = 1; n <= 16; ++n)
            for (int d = 1; d <= 127; ++d)
                s.configBlock[n][d] = 0;
        s.configBlock[1][5] = 0x5A;
        s.configBlock[1][9] = 0x03;
        configFileText(s, kCreated);
        QCOMPARE(int(s.configBlock[1][0]), 0x59);
        for (int n = 2; n <= 16; ++n)
            QCOMPARE(int(s.configBlock[n][0]), 0);
    }

    void roundTrip()
    {
        TempProgramFolder dir;
        EditorState a;
        writeDefaultsToRam(a);
        a.link.portNumber = 3;
        a.systemBlock[6] = 5;
        a.systemBlock[256] = 42;
        a.calCurve[6][3][2] = 12.5f;
        a.calCurve[6][4][1] = 0.5f;
        a.calCurve[16][7][2] = 290.08f;
        QCOMPARE(writeConfigFile(a, dir.file("A.CFG"), kCreated), QString());

        EditorState b;
        b.systemBlock[256] = 9;
        ConfigFileImage image;
        const ConfigReadResult r = readConfigFile(dir.file("A.CFG"), image);
        QVERIFY2(r.ok, qPrintable(r.problem));
        applyConfigFile(b, image);
        QCOMPARE(int(b.link.portNumber), 3);
        QCOMPARE(int(b.systemBlock[6]), 1); // forced after every load
        QCOMPARE(int(b.systemBlock[256]), 9);
        a.systemBlock[6] = 1;
        QVERIFY(memcmp(a.systemBlock, b.systemBlock, 256) == 0);
        QVERIFY(memcmp(a.configBlock, b.configBlock, sizeof a.configBlock) == 0);
        QVERIFY(memcmp(a.calCurve, b.calCurve, sizeof a.calCurve) == 0);
        QCOMPARE(b.calCurve[6][3][2], 12.5f);
        QCOMPARE(b.calCurve[16][7][2], 290.08f);
        QCOMPARE(b.session.fileHeaderLines[2], QString("Ver 1.0.3"));
    }

    // Curve values are written with at most seven significant digits: one that fits
    // survives bit for bit; any other moves once, by less than the seventh digit, and
    // then a save and load never moves it again.
    void curveValuesSettle_data()
    {
        QTest::addColumn<float>("v");
        QTest::newRow("12.5") << 12.5f;
        QTest::newRow("third") << 1.0f / 3.0f;
        QTest::newRow("2^24 needs 8 digits") << 16777216.0f;
        QTest::newRow("just above .1 needs 8 digits") << std::nextafter(0.1f, 1.0f);
        QTest::newRow("bar entry x 145.04") << float(1.2345 * 10.0 * 14.504);
        QTest::newRow("9 digits") << 0.3000000119f;
        QTest::newRow("largest") << FLT_MAX;
        QTest::newRow("most negative") << -FLT_MAX;
        QTest::newRow("subnormal") << std::nextafter(0.0f, 1.0f);
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity();
        QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity();
    }
    void curveValuesSettle()
    {
        QFETCH(float, v);
        EditorState s;
        writeDefaultsToRam(s);
        s.calCurve[9][5][1] = v;
        s.calCurve[9][5][2] = -v;
        const QByteArray first = configFileText(s, kCreated);
        ConfigFileImage image;
        const ConfigReadResult r = parseConfigFile(first, image);
        QVERIFY2(r.ok, qPrintable(r.problem));
        const float read = image.curves[9][5][1];
        if (std::isinf(v))
            QCOMPARE(read, v);
        else
            QVERIFY(std::fabs(double(read) - double(v)) <= 6.5e-7 * std::fabs(double(v)) + 1.5e-45);
        if (QByteArray(numtext::numberField(v).toLatin1()).trimmed().toDouble() == double(v))
            QCOMPARE(read, v); // seven digits give it back exactly
        EditorState again;
        applyConfigFile(again, image);
        QCOMPARE(configFileText(again, kCreated), first);
    }

    // Neither -0 nor NaN is a value a point can hold: both are written as 0, and a "-0"
    // in a file reads as 0, so what is read is what the next save writes.
    void zerosAndNaNAreZero()
    {
        EditorState s;
        writeDefaultsToRam(s);
        s.calCurve[1][1][1] = -0.0f;
        s.calCurve[1][1][2] = std::numeric_limits<float>::quiet_NaN();
        QList<QByteArray> lines = linesOf(configFileText(s, kCreated));
        QCOMPARE(lines[2326], QByteArray(" 0 , 0 \r"));

        lines[2326] = "-0 ,-0.0 \r";
        ConfigFileImage image;
        QVERIFY(parseConfigFile(lines.join('\n') + '\n', image).ok);
        const float zero = 0.0f;
        QVERIFY(memcmp(&image.curves[1][1][1], &zero, sizeof zero) == 0);
        QVERIFY(memcmp(&image.curves[1][1][2], &zero, sizeof zero) == 0);
    }

    // A system whose number format has a decimal comma must not change the file.
    void fileIgnoresTheSystemLocale()
    {
        CommaDecimalLocale comma;
        if (!comma.active())
            QSKIP("no locale with a decimal comma can be made here");
        EditorState s;
        writeDefaultsToRam(s);
        s.calCurve[3][2][1] = 12.5f;
        s.calCurve[3][2][2] = 0.25f;
        const QByteArray text = configFileText(s, kCreated);
        QCOMPARE(linesOf(text)[2326 + 32 * 2 + 1], QByteArray(" 12.5 , .25 \r"));
        ConfigFileImage image;
        QVERIFY(parseConfigFile(text, image).ok);
        QCOMPARE(image.curves[3][2][1], 12.5f);
        QCOMPARE(image.curves[3][2][2], 0.25f);
    }

    void readingAFileIsParsingItsText()
    {
        TempProgramFolder dir;
        QByteArray text = defaultFileText();
        text.replace("COMport=, 0 ", "COMport=, 4 ");
        QVERIFY(dir.write("P.CFG", text));
        ConfigFileImage fromFile;
        ConfigFileImage fromText;
        QVERIFY(readConfigFile(dir.file("P.CFG"), fromFile).ok);
        QVERIFY(parseConfigFile(text, fromText).ok);
        QCOMPARE(int(fromFile.comPort), 4);
        QVERIFY(memcmp(fromFile.system, fromText.system, sizeof fromFile.system) == 0);
        QVERIFY(memcmp(fromFile.curves, fromText.curves, sizeof fromFile.curves) == 0);
    }

    void differentHeaderLoadsTheSame()
    {
        TempProgramFolder dir;
        QByteArray text = defaultFileText();
        text.replace("Corvane Display Configuration File - Do NOT make any changes!", "Some other first line");
        text.replace("Ver 1.0.3", "Ver 9.9");
        text.replace("Date created: 06-14-2011", "Date created: whenever");
        QVERIFY(dir.write("B.CFG", text));
        ConfigFileImage image;
        QVERIFY(readConfigFile(dir.file("B.CFG"), image).ok);
        QCOMPARE(image.headerLines[1], QString("Some other first line"));
        QCOMPARE(int(image.system[1]), 26);
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("truncateLines"); // keep only this many lines when > 0
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing -1") << QByteArray() << QByteArray() << 3350 << 3351
                                    << "the closing \"-1\" line is missing";
        QTest::newRow("short") << QByteArray() << QByteArray() << 100 << 101 << "the file ends too early";
        QTest::newRow("not a number") << QByteArray(" 1 , 26 \r") << QByteArray(" 1 , x26 \r") << 0 << 8
                                      << "\"x26\" is not a number";
        QTest::newRow("above 255") << QByteArray("CDC( 1 - 28 ),  25 ") << QByteArray("CDC( 1 - 28 ),  256 ") << 0
                                   << 292 << "256 does not fit in a byte (0 to 255)";
        QTest::newRow("negative byte") << QByteArray("COMport=, 0 ") << QByteArray("COMport=, -1 ") << 0 << 6
                                       << "-1 does not fit in a byte (0 to 255)";
        // Bytes of the file are shown escaped and cut short: no terminal or window obeys them.
        QTest::newRow("escape sequence") << QByteArray(" 1 , 26 \r") << QByteArray(" 1 , \x1b]0;owned\x07\x1b[31m \r")
                                         << 0 << 8 << "\"\\x1b]0;owned\\x07\\x1b[31m\" is not a number";
        QTest::newRow("binary") << QByteArray(" 1 , 26 \r")
                                << QByteArray(" 1 , \x01\xff\\abcdefghijklmnopqrstuvwxyz0123 \r") << 0 << 8
                                << "\"\\x01\\xff\\\\abcdefghijklmnopqrstuvwxyz012…\" is not a number";
        QTest::newRow("bad curve") << QByteArray(" 180 , 1000 \r\n-1") << QByteArray(" 180 , abc \r\n-1") << 0 << 3350
                                   << "\"abc\" is not a number";
    }
    void badFiles()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, truncateLines);
        QFETCH(int, line);
        QFETCH(QString, problem);
        TempProgramFolder dir;
        QByteArray text = defaultFileText();
        if (!from.isEmpty()) {
            QVERIFY(text.contains(from));
            text.replace(text.indexOf(from), from.size(), to);
        }
        if (truncateLines > 0)
            text = linesOf(text).mid(0, truncateLines).join('\n') + '\n';
        QVERIFY(dir.write("BAD.CFG", text));
        ConfigFileImage image;
        const ConfigReadResult r = readConfigFile(dir.file("BAD.CFG"), image);
        QVERIFY(!r.ok);
        QCOMPARE(r.problem, problem);
        QCOMPARE(r.line, line);
        QVERIFY(describeReadFailure(dir.file("BAD.CFG"), r).contains(QString("Line %1").arg(line)));
    }

    // Every line holds at least one field, an empty one too; a file that ends early is
    // reported at the line after its last (none after a final LF); fields are trimmed
    // as QString trims, the Latin-1 no-break space and next-line characters too.
    void shortTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");
        const QString early = "the file ends too early";
        QTest::newRow("empty") << QByteArray() << 1 << early;
        QTest::newRow("one LF") << QByteArray("\n") << 2 << early;
        QTest::newRow("four fields on three lines") << QByteArray("a\r\n\r\nb, c") << 4 << early;
        QTest::newRow("Latin-1 spaces") << QByteArray("a\nb\nc\nd\ne\nCOMport=,\xa0 300\x85\r\n") << 6
                                        << "300 does not fit in a byte (0 to 255)";
    }
    void shortTexts()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, problem);
        ConfigFileImage image;
        const ConfigReadResult r = parseConfigFile(text, image);
        QVERIFY(!r.ok);
        QCOMPARE(r.problem, problem);
        QCOMPARE(r.line, line);
    }

    void missingFile()
    {
        TempProgramFolder dir;
        ConfigFileImage image;
        const ConfigReadResult r = readConfigFile(dir.file("NONE.CFG"), image);
        QVERIFY(!r.ok);
        QCOMPARE(r.line, 0);
        QVERIFY(describeReadFailure(dir.file("NONE.CFG"), r).contains("NONE.CFG"));
    }

    void senderPositions_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("hasPosition");
        QTest::newRow("fuel 9") << 98 << 9 << true;
        QTest::newRow("fuel 6 is none") << 98 << 6 << true;
        QTest::newRow("fuel 10") << 98 << 10 << false;
        QTest::newRow("engine 6") << 100 << 6 << true;
        QTest::newRow("engine 7") << 100 << 7 << false;
        QTest::newRow("trim 21") << 99 << 21 << true;
        QTest::newRow("trim 22") << 99 << 22 << false;
        QTest::newRow("oil 16") << 101 << 16 << true;
        QTest::newRow("oil 17") << 101 << 17 << false;
        QTest::newRow("second tank 25") << 103 << 25 << true;
        QTest::newRow("second tank 26") << 103 << 26 << false;
    }
    void senderPositions()
    {
        QFETCH(int, byte);
        QFETCH(int, value);
        QFETCH(bool, hasPosition);
        EditorState s;
        writeDefaultsToRam(s);
        s.systemBlock[byte] = quint8(value);
        QCOMPARE(senderTypesHavePositions(s.systemBlock), hasPosition);
    }

    void saveNeverDestroysTheOldFile()
    {
        TempProgramFolder dir;
        QVERIFY(dir.write("DEFAULT.CFG", "old contents"));
        EditorState s;
        writeDefaultsToRam(s);
        // A folder that cannot be written into: the save fails and the old file stays.
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString reason = writeConfigFile(s, dir.file("DEFAULT.CFG"), kCreated);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (reason.isEmpty())
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(dir.read("DEFAULT.CFG"), QByteArray("old contents"));
    }

    void saveFailureIsReported_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "no/such/folder/X.CFG";
        QTest::newRow("a folder in the way") << "AFOLDER";
    }
    void saveFailureIsReported()
    {
        QFETCH(QString, target);
        TempProgramFolder dir;
        QDir(dir.path()).mkdir("AFOLDER");
        EditorState s;
        writeDefaultsToRam(s);
        QVERIFY(!writeConfigFile(s, dir.file(target), kCreated).isEmpty());
        QVERIFY(QFileInfo(dir.file("AFOLDER")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
