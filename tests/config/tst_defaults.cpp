// The factory default image.
#include "core/Defaults.h"

#include <QTest>

class TestDefaults : public QObject
{
    Q_OBJECT
private slots:
    void linearCurveHasTheDocumentedPairs()
    {
        EditorState s;
        writeDefaultsToRam(s);
        const int pairs[32][2] = {{10, 0},    {15, 32},   {20, 64},   {26, 96},   {31, 129},  {37, 161},  {42, 193},
                                  {48, 225},  {53, 258},  {59, 290},  {64, 322},  {70, 354},  {75, 387},  {81, 419},
                                  {86, 451},  {92, 483},  {97, 516},  {103, 548}, {108, 580}, {114, 612}, {119, 645},
                                  {125, 677}, {130, 709}, {136, 741}, {141, 774}, {147, 806}, {152, 838}, {158, 870},
                                  {163, 903}, {169, 935}, {174, 967}, {180, 1000}};
        for (int k = 1; k <= 32; ++k)
            for (int j = 1; j <= 32; ++j) {
                QCOMPARE(s.calCurve[k][j][1], float(pairs[j - 1][0]));
                QCOMPARE(s.calCurve[k][j][2], float(pairs[j - 1][1]));
            }
    }

    void emptyCurveRule_data()
    {
        QTest::addColumn<float>("point2Value");
        QTest::addColumn<bool>("newUnit");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("point 2 zero is empty") << 0.0f << false << true;
        QTest::newRow("point 2 set survives") << 7.0f << false << false;
        QTest::newRow("new unit replaces all") << 7.0f << true << true;
    }
    void emptyCurveRule()
    {
        QFETCH(float, point2Value);
        QFETCH(bool, newUnit);
        QFETCH(bool, replaced);
        EditorState s;
        s.factory.newUnitMode = newUnit ? true : false;
        s.calCurve[9][1][1] = 555.0f;
        s.calCurve[9][2][2] = point2Value;
        writeDefaultsToRam(s);
        QCOMPARE(s.calCurve[9][1][1], replaced ? 10.0f : 555.0f);
        QCOMPARE(s.calCurve[9][2][2], replaced ? 32.0f : point2Value);
    }

    void blocks_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<QList<int>>("bytes"); // 1, 2, 3, 4, 28, 48, 68, 88, 91, 92, 108, 111, 112
        QTest::newRow("1") << 1 << QList<int>{0, 66, 64, 0, 25, 23, 24, 0, 39, 15, 0, 39, 15};
        QTest::newRow("3") << 3 << QList<int>{192, 0, 64, 0, 25, 29, 30, 0, 39, 15, 0, 39, 15};
        QTest::newRow("6") << 6 << QList<int>{192, 0, 32, 0, 23, 29, 30, 25, 0, 100, 24, 0, 30};
        QTest::newRow("7") << 7 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 39, 15, 0, 39, 15};
        QTest::newRow("15") << 15 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 39, 15, 0, 39, 15};
        QTest::newRow("16") << 16 << QList<int>{255, 127, 224, 5, 23, 25, 27, 29, 1, 44, 30, 0, 200};
    }
    void blocks()
    {
        QFETCH(int, block);
        QFETCH(QList<int>, bytes);
        EditorState s;
        writeDefaultsToRam(s);
        const int idx[] = {1, 2, 3, 4, 28, 48, 68, 88, 91, 92, 108, 111, 112};
        for (int i = 0; i < 13; ++i)
            QCOMPARE(int(s.configBlock[block][idx[i]]), bytes[i]);
        QCOMPARE(int(s.configBlock[block][0]), 0);
        for (int d = 5; d <= 27; ++d)
            QCOMPARE(int(s.configBlock[block][d]), 255);
        QCOMPARE(int(s.configBlock[block][127]), 255);
    }

    void systemBlockHighlights()
    {
        EditorState s;
        s.systemBlock[0] = 99;
        s.systemBlock[256] = 77;
        s.session.editCurveNumber = 6;
        writeDefaultsToRam(s);
        QCOMPARE(int(s.systemBlock[0]), 0);
        QCOMPARE(int(s.systemBlock[1]), 26);
        QCOMPARE(int(s.systemBlock[6]), 1);
        QCOMPARE(int(s.systemWord(21)), 1000);
        QCOMPARE(int(s.systemWord(114)), 12000);
        QCOMPARE(int(s.systemBlock[255]), 255);
        QCOMPARE(int(s.systemBlock[256]), 77); // never touched
        QCOMPARE(int(s.session.editCurveNumber), 99);
    }

    void senderPositions()
    {
        EditorState s;
        int calls = 0;
        s.onSenderPositionsChanged = [&] { ++calls; };
        writeDefaultsToRam(s);
        QCOMPARE(calls, 1);
        QCOMPARE(s.senderPositions.fuel, 1);        // 7
        QCOMPARE(s.senderPositions.trim, 4);        // 20
        QCOMPARE(s.senderPositions.engineTemp, 3);  // 3
        QCOMPARE(s.senderPositions.oilPressure, 2); // 11
        QCOMPARE(s.senderPositions.secondTank, 1);  // 23

        quint8 sb[257] = {};
        sb[98] = 6;  // below the fuel list
        sb[99] = 40; // beyond the trim list
        sb[100] = 6;
        sb[101] = 16;
        sb[103] = 25;
        const SenderListPositions p = senderPositionsFor(sb);
        QCOMPARE(p.fuel, 0);
        QCOMPARE(p.trim, 0);
        QCOMPARE(p.engineTemp, 6);
        QCOMPARE(p.oilPressure, 7);
        QCOMPARE(p.secondTank, 3);
    }
};

QTEST_GUILESS_MAIN(TestDefaults)
#include "tst_defaults.moc"
