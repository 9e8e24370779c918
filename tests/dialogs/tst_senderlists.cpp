// Sender list positions and types, and how curve values are shown and stored.
#include "core/CurveValues.h"
#include "core/Defaults.h"
#include "core/SenderLists.h"

#include <QTest>
#include <cfloat>
#include <cmath>

using senderlists::SenderList;
Q_DECLARE_METATYPE(SenderList)

class TestSenderLists : public QObject
{
    Q_OBJECT
private slots:
    // Every entry names the sender type its position stores, so the list and the
    // mapping can never disagree.
    void entriesStartWithTheirType()
    {
        for (SenderList list : senderlists::kAllLists) {
            const QStringList &entries = senderlists::entries(list);
            QCOMPARE(entries.first(), QStringLiteral("0:  None"));
            for (int i = 0; i < entries.size(); ++i) {
                const int type = senderlists::typeForPosition(list, i);
                QVERIFY2(entries.at(i).startsWith(QString::number(type) + QLatin1Char(':')), qPrintable(entries.at(i)));
                QCOMPARE(senderlists::positionForType(list, type), i);
            }
        }
    }

    void typeToPosition_data()
    {
        QTest::addColumn<SenderList>("list");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("position");
        QTest::newRow("fuel 9") << SenderList::Fuel << 9 << 3;
        QTest::newRow("fuel 6 is below the list") << SenderList::Fuel << 6 << 0;
        QTest::newRow("fuel 10 is beyond the list") << SenderList::Fuel << 10 << 0;
        QTest::newRow("engine 6") << SenderList::EngineTemp << 6 << 6;
        QTest::newRow("engine 7 is beyond the list") << SenderList::EngineTemp << 7 << 0;
        QTest::newRow("oil 16") << SenderList::OilPressure << 16 << 7;
        QTest::newRow("oil 17 is beyond the list") << SenderList::OilPressure << 17 << 0;
        QTest::newRow("trim 21") << SenderList::Trim << 21 << 5;
        QTest::newRow("trim 22 has no entry") << SenderList::Trim << 22 << 0;
        QTest::newRow("second tank 22 has no entry") << SenderList::SecondTank << 22 << 0;
        QTest::newRow("second tank 25") << SenderList::SecondTank << 25 << 3;
        QTest::newRow("second tank 255") << SenderList::SecondTank << 255 << 0;
    }
    void typeToPosition()
    {
        QFETCH(SenderList, list);
        QFETCH(int, type);
        QFETCH(int, position);
        QCOMPARE(senderlists::positionForType(list, type), position);
    }

    // The window and the default/file procedures position the lists alike.
    void agreesWithTheImagePositions()
    {
        quint8 block[257] = {};
        for (int t = 0; t < 256; ++t) {
            for (int byte : {98, 99, 100, 101, 103})
                block[byte] = quint8(t);
            const SenderListPositions p = senderPositionsFor(block);
            QCOMPARE(p.fuel, senderlists::positionForType(SenderList::Fuel, t));
            QCOMPARE(p.trim, senderlists::positionForType(SenderList::Trim, t));
            QCOMPARE(p.engineTemp, senderlists::positionForType(SenderList::EngineTemp, t));
            QCOMPARE(p.oilPressure, senderlists::positionForType(SenderList::OilPressure, t));
            QCOMPARE(p.secondTank, senderlists::positionForType(SenderList::SecondTank, t));
        }
    }

    void storedValueConversions_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<double>("typed");
        QTest::addColumn<bool>("celsius");
        QTest::addColumn<bool>("bars");
        QTest::addColumn<float>("stored");
        QTest::newRow("80 deg C") << 6 << 80.0 << true << false << 1760.0f;
        QTest::newRow("0 deg C") << 6 << 0.0 << true << false << 320.0f;
        QTest::newRow("80 deg F") << 6 << 80.0 << false << true << 800.0f;
        QTest::newRow("2 bar") << 16 << 2.0 << false << true << 290.08f;
        QTest::newRow("2 psi") << 16 << 2.0 << true << false << 20.0f;
        QTest::newRow("bar only for curve 16") << 9 << 2.0 << true << true << 20.0f;
        QTest::newRow("huge ohms stay finite") << 9 << 1e300 << false << false << FLT_MAX;
    }
    void storedValueConversions()
    {
        QFETCH(int, curve);
        QFETCH(double, typed);
        QFETCH(bool, celsius);
        QFETCH(bool, bars);
        QFETCH(float, stored);
        const float v = curvevalues::storedValue(curve, typed, celsius, bars);
        QVERIFY(std::isfinite(v));
        QCOMPARE(v, stored);
    }

    void hugeValuesShowTheirFloatForm()
    {
        QCOMPARE(curvevalues::valueText(9, FLT_MAX, false, false), QStringLiteral("3.402823E+37"));
        QCOMPARE(curvevalues::valueText(19, -FLT_MAX, false, false), QStringLiteral("-3.402823E+37"));
    }
};

QTEST_GUILESS_MAIN(TestSenderLists)
#include "tst_senderlists.moc"
