// Intel HEX to code image: the flash window 7168..8191, sector rounding, and refusal of damaged files.
#include "core/factory/HexFile.h"

#include <QTest>

using namespace factory;

namespace
{

// One record with its checksum, as a HEX tool writes it.
QByteArray record(int type, int address, const QByteArray &data)
{
    QByteArray body;
    body.append(char(data.size()));
    body.append(char(address >> 8));
    body.append(char(address & 0xFF));
    body.append(char(type));
    body.append(data);
    int sum = 0;
    for (char c : body)
        sum += quint8(c);
    body.append(char((256 - (sum & 0xFF)) & 0xFF));
    return ":" + body.toHex().toUpper() + "\r\n";
}

QByteArray data(int address, const QByteArray &bytes)
{
    return record(0, address, bytes);
}
const QByteArray kEnd = ":00000001FF\r\n";

QByteArray counting(int n, int first = 1)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((first + i) & 0xFF));
    return b;
}

// Records of 16 bytes from `address` holding `bytes`.
QByteArray records(int address, const QByteArray &bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes.size(); i += 16)
        out += data(address + i, bytes.mid(i, 16));
    return out;
}

} // namespace

class TestHexFile : public QObject
{
    Q_OBJECT
private slots:
    void converts_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<int>("sectors");
        QTest::addColumn<QByteArray>("expectedStart"); // the image's first bytes

        QTest::newRow("100 bytes at 7168") << records(7168, counting(100)) + kEnd << 2 << counting(100);
        QTest::newRow("one byte") << data(7168, "\x7f") + kEnd << 1 << QByteArray("\x7f");
        QTest::newRow("64 bytes exactly one sector") << records(7168, counting(64)) + kEnd << 1 << counting(64);
        QTest::newRow("65 bytes two sectors") << records(7168, counting(65)) + kEnd << 2 << counting(65);
        QTest::newRow("record at 7160 stores nothing")
            << data(7160, counting(16, 100)) + data(7168, "\x01\x02") + kEnd << 1 << QByteArray("\x01\x02\x00", 3);
        QTest::newRow("bytes below the window skipped")
            << data(0, counting(16, 50)) + data(7168, "\xAA") + kEnd << 1 << QByteArray("\xAA\x00", 2);
        QTest::newRow("gap filled with zeros")
            << data(7168, "\x11") + data(7172, "\x22") + kEnd << 1 << QByteArray("\x11\x00\x00\x00\x22\x00", 6);
        QTest::newRow("window end: bytes past 8191 skipped")
            << data(8188, counting(8)) + kEnd << 16 << QByteArray(1020, '\0') + counting(4);
        QTest::newRow("extended linear address 0")
            << record(4, 0, QByteArray(2, '\0')) + data(7168, "\x33") + kEnd << 1 << QByteArray("\x33");
        QTest::newRow("data above 65535 is outside the window")
            << record(4, 0, QByteArray("\x00\x01", 2)) + data(7168, "\x44") + record(4, 0, QByteArray(2, '\0')) +
                   data(7168, "\x55") + kEnd
            << 1 << QByteArray("\x55\x00", 2);
        QTest::newRow("linear base F000 is far above the window")
            << record(4, 0, QByteArray("\xF0\x00", 2)) + data(7168, "\x44") + record(4, 0, QByteArray(2, '\0')) +
                   data(7168, "\x55") + kEnd
            << 1 << QByteArray("\x55\x00", 2);
        QTest::newRow("linear base FFFF is far above the window")
            << record(4, 0, QByteArray("\xFF\xFF", 2)) + data(0xFFFF, "\x44") + record(4, 0, QByteArray(2, '\0')) +
                   data(7168, "\x55") + kEnd
            << 1 << QByteArray("\x55\x00", 2);
        QTest::newRow("start address record ignored")
            << data(7168, "\x66") + record(5, 0, QByteArray(4, '\0')) + kEnd << 1 << QByteArray("\x66");
        QTest::newRow("lines after the end record are not read") << data(7168, "\x01") + kEnd + "garbage\r\n"
                                                                 << 1 << QByteArray("\x01");
        QTest::newRow("LF line ends and blank lines")
            << QByteArray(":011C00000AD9\n\n:00000001FF\n") << 1 << QByteArray("\x0A");
    }
    void converts()
    {
        QFETCH(QByteArray, hex);
        QFETCH(int, sectors);
        QFETCH(QByteArray, expectedStart);
        const auto r = hexToCodeImage(hex, QStringLiteral("T.HEX"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.value.sectorCount(), sectors);
        QCOMPARE(r.value.bytes.size(), sectors * 64);
        QCOMPARE(r.value.bytes.left(expectedStart.size()), expectedStart);
        QCOMPARE(r.value.firstAddress, 7168);
        QCOMPARE(r.value.origin, CodeImageOrigin::HexFile);
    }

    void hundredBytesEndInZeros()
    {
        const auto r = hexToCodeImage(records(7168, counting(100)) + kEnd, QStringLiteral("T.HEX"));
        QVERIFY(r.ok());
        QCOMPARE(r.value.bytes.size(), 128);
        QCOMPARE(r.value.bytes.mid(100), QByteArray(28, '\0'));
    }

    // A later record lower down must not drop what an earlier one stored higher up.
    void outOfOrderKeepsHigherBytes()
    {
        const auto r = hexToCodeImage(data(7232, "\x77\x78") + data(7168, "\x01") + kEnd, QStringLiteral("T.HEX"));
        QVERIFY(r.ok());
        QCOMPARE(r.value.sectorCount(), 2);
        QCOMPARE(r.value.bytes.mid(64, 2), QByteArray("\x77\x78"));
    }

    void sameAsUpperCase()
    {
        const QByteArray upper = records(7168, counting(40, 0xA0)) + kEnd;
        const auto a = hexToCodeImage(upper, QStringLiteral("U.HEX"));
        const auto b = hexToCodeImage(upper.toLower(), QStringLiteral("L.HEX"));
        QVERIFY(a.ok() && b.ok());
        QCOMPARE(b.value.bytes, a.value.bytes);
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("where");   // the start of the message
        QTest::addColumn<QString>("problem"); // a part of the message

        const QByteArray good = data(7168, "\x01\x02");
        QTest::newRow("no record mark") << good + "011C00000AD9\r\n" + kEnd << "T.HEX, line 2:"
                                        << "start with \":\"";
        QTest::newRow("non-hex digit") << good + ":011C00000AG9\r\n" + kEnd << "T.HEX, line 2:"
                                       << "\"G\" at character 12";
        QTest::newRow("too short") << ":011C\r\n" + kEnd << "T.HEX, line 1:"
                                   << "too short";
        QTest::newRow("length field disagrees") << QByteArray(":021C00000AD9\r\n") + kEnd << "T.HEX, line 1:"
                                                << "length field 2";
        QTest::newRow("record checksum") << good + ":011C00000AD8\r\n" + kEnd << "T.HEX, line 2:"
                                         << "bad record checksum D8";
        QTest::newRow("one flipped data digit") << QByteArray(":011C00000BD9\r\n") + kEnd << "T.HEX, line 1:"
                                                << "checksum";
        QTest::newRow("unknown record type") << record(7, 0, "\x01") + kEnd << "T.HEX, line 1:"
                                             << "unknown record type 07";
        QTest::newRow("end record with data") << good + record(1, 0, "\x01") << "T.HEX, line 2:"
                                              << "end record";
        QTest::newRow("bad extended address length") << record(4, 0, "\x01") + good + kEnd << "T.HEX, line 1:"
                                                     << "length 2";
        QTest::newRow("no end record") << good + good << "T.HEX ends after line 2:"
                                       << "no end record";
        QTest::newRow("empty file") << QByteArray() << "T.HEX is empty:"
                                    << "no end record";
        QTest::newRow("no data") << kEnd << "T.HEX holds no data records"
                                 << "";
        QTest::newRow("last record at 7160") << data(7160, counting(16)) + kEnd << "T.HEX, line 1:"
                                             << "starts at address 7160";
        QTest::newRow("last record after the window") << good + data(8192, "\x01") + kEnd << "T.HEX, line 2:"
                                                      << "outside the code window 7168 to 8191";
        QTest::newRow("last record below the window") << good + data(100, "\x01") + kEnd << "T.HEX, line 2:"
                                                      << "starts at address 100";
    }
    void refuses()
    {
        QFETCH(QByteArray, hex);
        QFETCH(QString, where);
        QFETCH(QString, problem);
        const auto r = hexToCodeImage(hex, QStringLiteral("T.HEX"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(where), qPrintable(r.error));
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
        QVERIFY(r.value.bytes.isEmpty());
    }

    void missingFileNamed()
    {
        const auto r = readHexFile(QStringLiteral("/nonexistent/folder/CODE.HEX"));
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(QStringLiteral("Cannot read CODE.HEX")), qPrintable(r.error));
    }
};

QTEST_GUILESS_MAIN(TestHexFile)
#include "tst_hexfile.moc"
