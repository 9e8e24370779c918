// The .COD code image file: exact lines, round trips, atomic writing and refusal of damaged files.
#include "core/factory/CodeImageFile.h"
#include "core/factory/HexFile.h"

#include "kit/TempProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace factory;

namespace
{

CodeImage imageOf(const QByteArray &bytes, int first = 7168, CodeImageOrigin origin = CodeImageOrigin::HexFile)
{
    CodeImage img;
    img.bytes = bytes;
    img.firstAddress = first;
    img.origin = origin;
    return img;
}

// A .COD text with `lines` byte lines after line 1.
QByteArray codText(int sectors, int lines, const QByteArray &tail = QByteArray())
{
    QByteArray out = QByteArray::number(sectors) + ",Number of 64 byte Sectors\r\n";
    for (int i = 0; i < lines; ++i)
        out += QByteArray::number(7168 + i) + " " + QByteArray::number(i % 256) + "\r\n";
    return out + tail;
}

QString samples()
{
    return QStringLiteral(CORVANE_SOURCE_DIR "/samples/factory");
}

} // namespace

class TestCodeImageFile : public QObject
{
    Q_OBJECT
private slots:
    void exactLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7168 holding 2") << CodeImageFile::byteLine(7168, 2)
                                        << QString(" 7168" + QString(10, ' ') + "2 ");
        QTest::newRow("value 255") << CodeImageFile::byteLine(7200, 255) << QString(" 7200          255 ");
        QTest::newRow("five-digit address") << CodeImageFile::byteLine(20096, 0) << QString(" 20096         0 ");
        QTest::newRow("from HEX") << CodeImageFile::firstLine(2, CodeImageOrigin::HexFile)
                                  << QString(" 2            ,Number of 64 byte Sectors");
        QTest::newRow("from flash ROM") << CodeImageFile::firstLine(16, CodeImageOrigin::FlashRom)
                                        << QString(" 16           , Number of 64 byte Sectors");
    }
    void exactLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    void formatWritesWholeSectorsWithCrLf()
    {
        const QByteArray text = CodeImageFile::format(imageOf(QByteArray("\x02\x05", 2)));
        const QList<QByteArray> lines = text.split('\n');
        QCOMPARE(lines.size(), 1 + 64 + 1); // the last CR LF leaves an empty piece
        QVERIFY(lines.last().isEmpty());
        for (int i = 0; i < lines.size() - 1; ++i)
            QVERIFY2(lines.at(i).endsWith('\r'), lines.at(i).constData());
        QCOMPARE(lines.at(1), QByteArray(" 7168          2 \r"));
        QCOMPARE(lines.at(64), QByteArray(" 7231          0 \r"));
    }

    // Addresses are 16-bit: the line after 65535 is 0, a line the reader accepts.
    void addressesWrapAfter65535()
    {
        const QList<QByteArray> lines = CodeImageFile::format(imageOf(QByteArray("\x01\x02", 2), 65535)).split('\n');
        QCOMPARE(lines.at(1), QByteArray(" 65535         1 \r"));
        QCOMPARE(lines.at(2), QByteArray(" 0             2 \r"));
        QCOMPARE(lines.at(64), QByteArray(" 62            0 \r"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("sectors");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("origin");
        QTest::newRow("1 sector from HEX") << 1 << 7168 << int(CodeImageOrigin::HexFile);
        QTest::newRow("3 sectors from flash") << 3 << 4096 << int(CodeImageOrigin::FlashRom);
        QTest::newRow("16 sectors") << 16 << 7168 << int(CodeImageOrigin::HexFile);
        QTest::newRow("addresses wrap after 65535") << 2 << 65500 << int(CodeImageOrigin::FlashRom);
    }
    void roundTrip()
    {
        QFETCH(int, sectors);
        QFETCH(int, first);
        QFETCH(int, origin);
        QByteArray bytes;
        for (int i = 0; i < sectors * 64; ++i)
            bytes.append(char((i * 37 + 11) & 0xFF));
        TempProgramFolder dir;
        const QString path = dir.file(QStringLiteral("ROUND.COD"));
        QCOMPARE(CodeImageFile::write(path, imageOf(bytes, first, CodeImageOrigin(origin))), QString());
        const auto r = CodeImageFile::read(path);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.bytes, bytes);
        QCOMPARE(r.value.sectorCount(), sectors);
        QCOMPARE(r.value.firstAddress, first);
        QCOMPARE(int(r.value.origin), origin);
    }

    // The sample .COD was written from the sample HEX by a separate tool.
    void sampleHexGivesSampleCod()
    {
        const auto hex = readHexFile(samples() + "/SAMPLE.HEX");
        QVERIFY2(hex.ok(), qPrintable(hex.error));
        QFile cod(samples() + "/SAMPLE.COD");
        QVERIFY(cod.open(QIODevice::ReadOnly));
        QCOMPARE(CodeImageFile::format(hex.value), cod.readAll());
        const auto read = CodeImageFile::read(samples() + "/SAMPLE.COD");
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value.bytes, hex.value.bytes);
    }

    void writeFailureIsReported()
    {
        TempProgramFolder dir;
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        const QString error = CodeImageFile::write(dir.file(QStringLiteral("sub")), imageOf("\x01"));
        QVERIFY2(error.startsWith(QStringLiteral("Cannot write sub")), qPrintable(error));
    }

    void rewriteReplacesWholeFile()
    {
        TempProgramFolder dir;
        QVERIFY(dir.write(QStringLiteral("OLD.COD"), QByteArray(5000, 'x')));
        QCOMPARE(CodeImageFile::write(dir.file(QStringLiteral("OLD.COD")), imageOf("\x01")), QString());
        QCOMPARE(dir.read(QStringLiteral("OLD.COD")), CodeImageFile::format(imageOf("\x01")));
    }

    void acceptsLooseLayout_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("LF only") << QByteArray(codText(1, 64)).replace("\r\n", "\n");
        QTest::newRow("comma between numbers") << QByteArray(codText(1, 64)).replace(" ", ",");
        QTest::newRow("trailing blank lines") << codText(1, 64, "\r\n  \r\n");
        QTest::newRow("text after blanks") << QByteArray(codText(1, 64)).replace(",Number", "  sectors");
    }
    void acceptsLooseLayout()
    {
        QFETCH(QByteArray, text);
        const auto r = CodeImageFile::parse(text, QStringLiteral("M.COD"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.sectorCount(), 1);
        QCOMPARE(quint8(r.value.bytes.at(63)), quint8(63));
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty") << QByteArray() << "M.COD is empty:"
                               << "number of 64 byte sectors";
        QTest::newRow("line 1 not a number") << QByteArray("two,Number of 64 byte Sectors\r\n") << "M.COD, line 1:"
                                             << "\"two\" is not a number";
        QTest::newRow("count of two million digits") << QByteArray(2000000, '1') + "x,Number\r\n"
                                                     << "M.COD, line 1:"
                                                     << "…\" is not a number"; // cut short in the message
        QTest::newRow("zero sectors") << codText(0, 0) << "M.COD, line 1:"
                                      << "from 1 to 16";
        QTest::newRow("17 sectors") << codText(17, 17 * 64) << "M.COD, line 1:"
                                    << "from 1 to 16";
        QTest::newRow("shorter than promised") << codText(2, 100) << "M.COD ends after line 101:"
                                               << "promises 2 sectors, that is 128 byte lines, but only 100 follow";
        QTest::newRow("longer than promised") << codText(1, 65) << "M.COD, line 66:"
                                              << "more byte lines";
        QTest::newRow("value above 255") << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n7170 256\r\n")
                                         << "M.COD, line 4:"
                                         << "the byte value \"256\"";
        QTest::newRow("value not a number")
            << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n7170 x2\r\n") << "M.COD, line 4:"
            << "\"x2\" is not a number";
        QTest::newRow("fractional value")
            << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n7170 2.5\r\n") << "M.COD, line 4:"
            << "whole number";
        QTest::newRow("one number only") << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n7170\r\n")
                                         << "M.COD, line 4:"
                                         << "found 1 fields";
        QTest::newRow("blank line inside")
            << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n\r\n") << "M.COD, line 4:"
            << "found 0 fields";
        QTest::newRow("negative address")
            << QByteArray(codText(1, 64)).replace("\r\n7170 2\r\n", "\r\n-1 2\r\n") << "M.COD, line 4:"
            << "the address";
    }
    void refuses()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, where);
        QFETCH(QString, problem);
        const auto r = CodeImageFile::parse(text, QStringLiteral("M.COD"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(where), qPrintable(r.error));
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
    }

    void missingFileNamed()
    {
        TempProgramFolder dir;
        const auto r = CodeImageFile::read(dir.file(QStringLiteral("GONE.COD")));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(QStringLiteral("Cannot read GONE.COD")), qPrintable(r.error));
    }
};

QTEST_GUILESS_MAIN(TestCodeImageFile)
#include "tst_codeimagefile.moc"
