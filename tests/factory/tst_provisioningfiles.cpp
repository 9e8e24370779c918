// The provisioning files: calibration curves, NMEA tables, decimal points and the program modules, good and damaged.
#include "core/factory/CalibrationFile.h"
#include "core/factory/CodeImageFile.h"
#include "core/factory/DecimalPointFile.h"
#include "core/factory/NmeaTableFile.h"
#include "core/factory/ProgramModules.h"

#include "kit/TempProgramFolder.h"

#include <QFile>
#include <QTest>

using namespace factory;

namespace
{

QString sample(const QString &name)
{
    return QStringLiteral(CORVANE_SOURCE_DIR "/samples/factory/") + name;
}

QByteArray sampleText(const QString &name)
{
    QFile f(sample(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast(); // after the final line end
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\n";
    return out;
}

// Kinds of damage done to a sample: a line replaced (line > 0), or the file cut after
// `-line` lines (line <= 0).
QByteArray damaged(const QByteArray &text, int line, const QByteArray &replacement)
{
    QList<QByteArray> lines = linesOf(text);
    if (line > 0)
        lines[line - 1] = replacement + "\r";
    else
        lines = lines.mid(0, -line);
    return joined(lines);
}

// Two million digits and a letter: refused at once, however long the run (a reader
// whose number check backtracks through the run would not finish within the test's
// time-out).
QByteArray longDigitRun()
{
    return QByteArray(2000000, '7') + "x";
}

void addDamageColumns()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("problem");
}

} // namespace

class TestProvisioningFiles : public QObject
{
    Q_OBJECT
private slots:
    // --- CALCURVS.DAT ---------------------------------------------------------
    void calibrationSample()
    {
        const auto r = readCalibrationFile(sample(calibrationFileName()));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.size(), 3);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(r.value.at(k).address, 12288 + 128 * k);
            QCOMPARE(r.value.at(k).bytes.size(), 128);
        }
        // Curve 1, point 1: "1, 12288, 287.4, 400, 2, 117, 1, 144"; point 32 ends "0, 113, 4, 176".
        QCOMPARE(r.value.at(0).bytes.left(4), QByteArray("\x02\x75\x01\x90", 4));
        QCOMPARE(r.value.at(0).bytes.right(4), QByteArray("\x00\x71\x04\xB0", 4));
    }

    void calibrationLayouts_data()
    {
        QTest::addColumn<QByteArray>("pointLine");
        QTest::newRow("blanks") << QByteArray("1 12288 287.4 400 2 117 1 144");
        QTest::newRow("commas, no blanks") << QByteArray("1,12288,287.4,400,2,117,1,144");
        QTest::newRow("tabs and commas") << QByteArray("1,\t12288 ,287.4,  400,2,117,1,144");
    }
    void calibrationLayouts()
    {
        QFETCH(QByteArray, pointLine);
        const auto r =
            parseCalibrationFile(damaged(sampleText(calibrationFileName()), 5, pointLine), calibrationFileName());
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.at(0).address, 12288);
        QCOMPARE(r.value.at(0).bytes.left(4), QByteArray("\x02\x75\x01\x90", 4));
    }

    void calibrationDamaged_data()
    {
        addDamageColumns();
        QTest::newRow("no curves") << 1 << QByteArray("0,curves") << "CALCURVS.DAT, line 1:"
                                   << "from 1 to 32";
        QTest::newRow("33 curves") << 1 << QByteArray("33,curves") << "CALCURVS.DAT, line 1:"
                                   << "from 1 to 32";
        QTest::newRow("count not a number") << 1 << QByteArray("three curves") << "CALCURVS.DAT, line 1:"
                                            << "\"three\" is not a number";
        QTest::newRow("count of two million digits") << 1 << longDigitRun() << "CALCURVS.DAT, line 1:"
                                                     << "…\" is not a number"; // cut short in the message
        QTest::newRow("more curves promised") << 1 << QByteArray("4,curves") << "CALCURVS.DAT ends after line 106:"
                                              << "curve 4 of 4 is missing";
        QTest::newRow("cut inside curve 2") << -50 << QByteArray() << "CALCURVS.DAT ends after line 50:"
                                            << "curve 2 has only 11 of its 32 point lines";
        QTest::newRow("cut in skipped lines") << -38 << QByteArray() << "CALCURVS.DAT ends after line 38:"
                                              << "curve 2 of 3 is missing";
        QTest::newRow("seven fields") << 5 << QByteArray("1, 12288, 287.4, 400, 2, 117, 1") << "CALCURVS.DAT, line 5:"
                                      << "found 7";
        QTest::newRow("empty field") << 5 << QByteArray("1, 12288, 287.4, 400, 2,, 117, 1") << "CALCURVS.DAT, line 5:"
                                     << "data byte 2 is missing";
        QTest::newRow("byte above 255") << 6 << QByteArray("2, 12292, 264.7, 426, 256, 97, 1, 170")
                                        << "CALCURVS.DAT, line 6:"
                                        << "data byte 1 \"256\"";
        QTest::newRow("unused field not a number")
            << 7 << QByteArray("3, 12296, abc, 452, 2, 77, 1, 196") << "CALCURVS.DAT, line 7:"
            << "field 3 \"abc\"";
        QTest::newRow("point number") << 8 << QByteArray("300, 12300, 224.5, 477, 2, 56, 1, 221")
                                      << "CALCURVS.DAT, line 8:"
                                      << "the point number";
        QTest::newRow("start not a curve slot")
            << 40 << QByteArray("1, 12300, 10, 0, 0, 54, 0, 0") << "CALCURVS.DAT, line 40:"
            << "not a curve slot";
        QTest::newRow("start over the logs")
            << 5 << QByteArray("1, 0, 287.4, 400, 2, 117, 1, 144") << "CALCURVS.DAT, line 5:"
            << "not a curve slot";
        QTest::newRow("two curves in one slot")
            << 40 << QByteArray("1, 12288, 10, 0, 0, 54, 0, 0") << "CALCURVS.DAT, line 40:"
            << "where curve 1 starts already";
    }
    void calibrationDamaged()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, where);
        QFETCH(QString, problem);
        const auto r =
            parseCalibrationFile(damaged(sampleText(calibrationFileName()), line, replacement), calibrationFileName());
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(where), qPrintable(r.error));
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
    }

    // --- NVMNMEAG.DAT -----------------------------------------------------------
    void nmeaSample()
    {
        const auto r = readNmeaTables(sample(QStringLiteral("NVMNMEAG.DAT")));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.talkers.size(), 256);
        QCOMPARE(r.value.sentences.size(), 512);
        QCOMPARE(r.value.talkers.left(2), QByteArray("AG"));
        QCOMPARE(r.value.talkers.mid(2 * 16 - 2, 2), QByteArray("GP"));         // talker 16
        QCOMPARE(r.value.talkers.mid(2 * 49 - 2, 2), QByteArray("ZV"));         // talker 49, the last real one
        QCOMPARE(r.value.sentences.mid(4 * 60 - 4, 4), QByteArray("RMC\0", 4)); // sentence 60
        QCOMPARE(r.value.sentences.mid(4 * 120 - 4, 4), QByteArray("ZZU\0", 4));
        for (int b = 1; b <= 128; ++b)
            QCOMPARE(r.value.sentences.at(4 * b - 1), '\0');
    }

    void nmeaUploadBlocksInOrder()
    {
        const auto r = readNmeaTables(sample(QStringLiteral("NVMNMEAG.DAT")));
        QVERIFY(r.ok());
        const QVector<EepromBlock> blocks = nmeaUploadBlocks(r.value);
        QCOMPARE(blocks.size(), 6);
        for (int g = 1; g <= 6; ++g) {
            QCOMPARE(blocks.at(g - 1).address, 6400 + 128 * (g - 1));
            QCOMPARE(blocks.at(g - 1).bytes.size(), 128);
        }
        QCOMPARE(blocks.at(0).bytes, r.value.talkers.left(128));   // talkers 1..64 to 6400
        QCOMPARE(blocks.at(1).bytes, r.value.talkers.mid(128));    // talkers 65..128 to 6528
        QCOMPARE(blocks.at(2).bytes, r.value.sentences.left(128)); // sentences from 6656
        QCOMPARE(blocks.at(5).bytes, r.value.sentences.mid(384));
    }

    void nmeaLayouts_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("quoted") << QByteArray("1,\"AG\"");
        QTest::newRow("blank") << QByteArray("1 AG");
        QTest::newRow("longer text") << QByteArray(" 1 , AGRICULTURE, farm");
        QTest::newRow("quoted with comma after") << QByteArray("1, \"AG\", agriculture");
    }
    void nmeaLayouts()
    {
        QFETCH(QByteArray, entry);
        const auto r = parseNmeaTables(damaged(sampleText(QStringLiteral("NVMNMEAG.DAT")), 6, entry),
                                       QStringLiteral("NVMNMEAG.DAT"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.talkers.left(4), QByteArray("AGAP"));
    }

    void nmeaDamaged_data()
    {
        addDamageColumns();
        QTest::newRow("header cut") << -3 << QByteArray() << "NVMNMEAG.DAT ends after line 3:"
                                    << "the header (5 lines) is incomplete";
        QTest::newRow("no entries") << -5 << QByteArray() << "NVMNMEAG.DAT ends after line 5:"
                                    << "talker entry 1 of 128 is missing";
        QTest::newRow("sentences cut") << -200 << QByteArray() << "NVMNMEAG.DAT ends after line 200:"
                                       << "sentence entry 68 of 128 is missing";
        QTest::newRow("no closing number") << -261 << QByteArray() << "NVMNMEAG.DAT ends after line 261:"
                                           << "closing number";
        QTest::newRow("closing not a number") << 262 << QByteArray("end") << "NVMNMEAG.DAT, line 262:"
                                              << "found \"end\"";
        QTest::newRow("short talker") << 10 << QByteArray("5,C") << "NVMNMEAG.DAT, line 10:"
                                      << "talker entry 5 needs an identifier of 2 characters";
        QTest::newRow("short sentence") << 140 << QByteArray("7,BE") << "NVMNMEAG.DAT, line 140:"
                                        << "sentence entry 7 needs an identifier of 3 characters";
        QTest::newRow("no number") << 6 << QByteArray("AG") << "NVMNMEAG.DAT, line 6:"
                                   << "talker entry 1 should start with a number";
        QTest::newRow("number of two million digits") << 6 << longDigitRun() + ",AG"
                                                      << "NVMNMEAG.DAT, line 6:"
                                                      << "talker entry 1 should start with a number";
        QTest::newRow("not ASCII") << 6 << QByteArray("1,\xE9G") << "NVMNMEAG.DAT, line 6:"
                                   << "printable ASCII";
        QTest::newRow("open quote") << 6 << QByteArray("1,\"AG") << "NVMNMEAG.DAT, line 6:"
                                    << "no closing quote";
    }
    void nmeaDamaged()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, where);
        QFETCH(QString, problem);
        const auto r = parseNmeaTables(damaged(sampleText(QStringLiteral("NVMNMEAG.DAT")), line, replacement),
                                       QStringLiteral("NVMNMEAG.DAT"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(where), qPrintable(r.error));
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
    }

    // --- DECPTSA.DAT --------------------------------------------------------------
    void decimalPointSample()
    {
        const auto r = readDecimalPoints(sample(QStringLiteral("DECPTSA.DAT")));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.size(), 64);
        QCOMPARE(r.value.left(4), QByteArray("\x01\x01\x02\x00", 4)); // entries 1..4
        const EepromBlock block = decimalPointBlock(r.value);
        QCOMPARE(block.address, 7168);
        QCOMPARE(block.bytes, r.value);
    }

    void decimalPointDamaged_data()
    {
        addDamageColumns();
        QTest::newRow("byte above 255") << 6 << QByteArray("1,256") << "DECPTSA.DAT, line 6:"
                                        << "the decimal-point byte \"256\"";
        QTest::newRow("one field") << 7 << QByteArray("2") << "DECPTSA.DAT, line 7:"
                                   << "entry 2 needs a number and a byte";
        QTest::newRow("no number") << 8 << QByteArray("x,1") << "DECPTSA.DAT, line 8:"
                                   << "should start with a number";
        QTest::newRow("byte of two million digits") << 9 << "4," + longDigitRun() << "DECPTSA.DAT, line 9:"
                                                    << "…\" is not a number"; // cut short in the message
        QTest::newRow("entries cut") << -40 << QByteArray() << "DECPTSA.DAT ends after line 40:"
                                     << "decimal-point entry 36 of 64 is missing";
        QTest::newRow("no closing number") << -69 << QByteArray() << "DECPTSA.DAT ends after line 69:"
                                           << "closing number";
        QTest::newRow("empty") << -0 << QByteArray() << "DECPTSA.DAT is empty:"
                               << "header";
    }
    void decimalPointDamaged()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, where);
        QFETCH(QString, problem);
        const auto r = parseDecimalPoints(damaged(sampleText(QStringLiteral("DECPTSA.DAT")), line, replacement),
                                          QStringLiteral("DECPTSA.DAT"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(where), qPrintable(r.error));
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
    }

    void missingFilesNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("calibration") << "CALCURVS.DAT";
        QTest::newRow("nmea") << "NVMNMEAG.DAT";
        QTest::newRow("decimal points") << "DECPTSA.DAT";
    }
    void missingFilesNamed()
    {
        QFETCH(QString, name);
        TempProgramFolder dir;
        const QString path = dir.file(name);
        const QString error = name == "CALCURVS.DAT"   ? readCalibrationFile(path).error
                              : name == "NVMNMEAG.DAT" ? readNmeaTables(path).error
                                                       : readDecimalPoints(path).error;
        QVERIFY2(error.startsWith("Cannot read " + name), qPrintable(error));
    }

    // --- program modules ------------------------------------------------------------
    void moduleTable()
    {
        const QVector<ProgramModule> &m = programModules();
        QCOMPARE(m.size(), 10);
        QCOMPARE(m.at(0).fileName, QString("CommandMode.COD"));
        QCOMPARE(m.at(0).address, 19072);
        QCOMPARE(m.at(1).fileName, QString("IspSerialLoader.COD"));
        QCOMPARE(m.at(1).address, 16384);
        QCOMPARE(m.at(9).fileName, QString("KeelOffsetEditor.COD"));
        QCOMPARE(m.at(9).address, 20096);
    }

    void sampleModulesLoad()
    {
        const auto r = loadProgramModules(QStringLiteral(CORVANE_SOURCE_DIR "/samples/factory"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(r.value.at(i).module.fileName, programModules().at(i).fileName);
            QVERIFY(r.value.at(i).image.sectorCount() >= 1 && r.value.at(i).image.sectorCount() <= 3);
        }
    }

    void moduleProblems_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // empty: the file is removed
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "DampingEditor.COD" << QByteArray()
                                 << "The program module DampingEditor.COD is missing";
        QTest::newRow("malformed") << "HiLoEditor.COD" << QByteArray("1,Number of 64 byte Sectors\r\n7168 1\r\n")
                                   << "HiLoEditor.COD ends after line 2:";
        QTest::newRow("runs into the next module")
            << "HiLoEditor.COD" << CodeImageFile::format(CodeImage{QByteArray(5 * 64, '\1'), 7168, {}})
            << "HiLoEditor.COD has 5 sectors: from 17216 it would run into CalibrationEditor.COD at 17472.";
        QTest::newRow("over the system backup")
            << "KeelOffsetEditor.COD" << CodeImageFile::format(CodeImage{QByteArray(9 * 64, '\1'), 7168, {}})
            << "KeelOffsetEditor.COD (9 sectors for 20096): Error - bad 24C512 address";
    }
    void moduleProblems()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        TempProgramFolder dir;
        for (const ProgramModule &m : programModules())
            QVERIFY(QFile::copy(sample(m.fileName), dir.file(m.fileName)));
        QFile::remove(dir.file(file));
        if (!content.isEmpty())
            QVERIFY(dir.write(file, content));
        const auto r = loadProgramModules(dir.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(problem), qPrintable(r.error));
    }

    void firstProblemIsReported()
    {
        TempProgramFolder dir; // empty: every module is missing
        const auto r = loadProgramModules(dir.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith("The program module CommandMode.COD is missing"), qPrintable(r.error));
    }
};

QTEST_GUILESS_MAIN(TestProvisioningFiles)
#include "tst_provisioningfiles.moc"
