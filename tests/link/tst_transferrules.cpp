// Data rules of upload and download: categories, counter, first-upload date, curve encoding.
#include "core/Defaults.h"
#include "core/TransferRules.h"

#include <QTest>

using namespace transfer;

class TestTransferRules : public QObject
{
    Q_OBJECT
private slots:
    void counter_data()
    {
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::addColumn<bool>("newUnit");
        QTest::addColumn<int>("newHigh");
        QTest::addColumn<int>("newLow");
        QTest::newRow("plain") << 3 << 4 << false << 3 << 5;
        QTest::newRow("carry") << 0 << 255 << false << 1 << 0;
        QTest::newRow("wrap") << 255 << 255 << false << 0 << 0;
        QTest::newRow("new unit") << 7 << 9 << true << 1 << 0;
    }
    void counter()
    {
        QFETCH(int, high);
        QFETCH(int, low);
        QFETCH(bool, newUnit);
        QFETCH(int, newHigh);
        QFETCH(int, newLow);
        quint8 b[256] = {};
        b[10] = quint8(high);
        b[11] = quint8(low);
        advanceUploadCounter(b, newUnit);
        QCOMPARE(int(b[10]), newHigh);
        QCOMPARE(int(b[11]), newLow);
    }

    void firstUploadDate()
    {
        quint8 b[256] = {};
        b[17] = b[18] = b[19] = 255;
        applyFirstUploadDate(b, QDate(2011, 6, 14));
        QCOMPARE(QList<int>({b[17], b[18], b[19]}), QList<int>({11, 6, 14}));
        applyFirstUploadDate(b, QDate(2011, 7, 1));
        QCOMPARE(QList<int>({b[17], b[18], b[19]}), QList<int>({11, 6, 14}));
        applyFirstUploadDate(b, QDate(2010, 1, 2));
        QCOMPARE(QList<int>({b[17], b[18], b[19]}), QList<int>({10, 1, 2}));
    }

    void categories()
    {
        QCOMPARE(categoryBytes(8), QList<int>({102, 104, 105, 106, 107, 108, 109, 110, 113}));
        QCOMPARE(categoryBytes(13).size(), 6 + 13 + 4);
        QVERIFY(!categoryBytes(13).contains(32));
        QCOMPARE(categoryBytes(10).size(), 100);
        QCOMPARE(categoryBytes(4), QList<int>({98, 99, 100, 101, 103}));
        QVERIFY(categoryBytes(1).isEmpty());
        QVERIFY(categoryBytes(12).isEmpty());
        QCOMPARE(downloadOrder(), QList<int>({10, 9, 8, 11, 13, 14}));
    }

    void pointEncoding_data()
    {
        QTest::addColumn<float>("ohms");
        QTest::addColumn<float>("value");
        QTest::addColumn<QList<int>>("bytes"); // the four bytes of point 5
        QTest::newRow("180 ohms: 511.5 counts") << 180.0f << 100.0f << QList<int>{1, 255, 0, 100};
        QTest::newRow("value 256 held to 255") << 180.0f << 256.0f << QList<int>{1, 255, 0, 255};
        QTest::newRow("value 1000") << 90.0f << 1000.0f << QList<int>{1, 85, 3, 232};
        QTest::newRow("value fraction rounds down") << 90.0f << 12.9f << QList<int>{1, 85, 0, 12};
        QTest::newRow("zero ohms") << 0.0f << 0.0f << QList<int>{0, 0, 0, 0};
    }
    void pointEncoding()
    {
        QFETCH(float, ohms);
        QFETCH(float, value);
        QFETCH(QList<int>, bytes);
        EditorState s;
        fillLinearDefaultCurve(s, 9);
        s.calCurve[9][5][1] = ohms;
        s.calCurve[9][5][2] = value;
        const EncodedCurve e = encodeCurve(s, 9);
        QVERIFY2(e.ok, qPrintable(e.problem));
        QCOMPARE(QList<int>({e.bytes[16], e.bytes[17], e.bytes[18], e.bytes[19]}), bytes);
    }

    void linearCurveEnds()
    {
        EditorState s;
        fillLinearDefaultCurve(s, 6);
        const EncodedCurve e = encodeCurve(s, 6);
        QVERIFY(e.ok);
        // Point 1 at counts 0: 0 - 54 x 1.28 held to 0.
        QCOMPARE(QList<int>({e.bytes[0], e.bytes[1], e.bytes[2], e.bytes[3]}), QList<int>({0, 0, 0, 0}));
        // Point 2: 15 ohms -> 78.69 counts -> 79; value 32.
        QCOMPARE(QList<int>({e.bytes[4], e.bytes[5], e.bytes[6], e.bytes[7]}), QList<int>({0, 79, 0, 32}));
        // Point 32 at counts 1023: 967 + (1023 - 503) x 4.125 = 3112.
        QCOMPARE(QList<int>({e.bytes[124], e.bytes[125], e.bytes[126], e.bytes[127]}), QList<int>({3, 255, 12, 40}));
    }

    void extrapolatedStartRoundsAndHolds()
    {
        EditorState s;
        fillLinearDefaultCurve(s, 19);
        // A falling curve: the line through points 1 and 2 rises towards counts 0.
        s.calCurve[19][1][2] = 1000.0f;
        s.calCurve[19][2][2] = 900.0f;
        const EncodedCurve e = encodeCurve(s, 19);
        QVERIFY(e.ok);
        // Counts 54 and 79: 1000 - 54 x (100 / -25) = 1216.
        QCOMPARE(e.bytes[2] * 256 + e.bytes[3], 1216);
    }

    void unencodable_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("v");
        QTest::newRow("equal ends") << 2 << 1 << 10.0f;
        QTest::newRow("equal top") << 31 << 1 << 180.0f;
        QTest::newRow("value too big") << 7 << 2 << 70000.0f;
        QTest::newRow("negative value") << 7 << 2 << -1.0f;
        QTest::newRow("negative ohms") << 7 << 1 << -200.0f;
    }
    void unencodable()
    {
        QFETCH(int, point);
        QFETCH(int, field);
        QFETCH(float, v);
        EditorState s;
        fillLinearDefaultCurve(s, 16);
        s.calCurve[16][point][field] = v;
        const EncodedCurve e = encodeCurve(s, 16);
        QVERIFY(!e.ok);
        QVERIFY(e.point >= 1 && e.point <= 32);
        QVERIFY(!e.problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTransferRules)
#include "tst_transferrules.moc"
