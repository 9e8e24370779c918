// The test kit's own clock and scripted prompts behave as the tests rely on.
#include "kit/ScriptedPrompts.h"
#include "kit/VirtualClock.h"

#include <QTest>

class TestKit : public QObject
{
    Q_OBJECT
private slots:
    void delayMovesVirtualTimeOnly()
    {
        VirtualClock clock;
        const double t0 = clock.now();
        clock.delay(0.05);
        QCOMPARE(clock.now(), t0 + 0.05);
    }
    void scheduledEventsEndAWaitEarly()
    {
        VirtualClock clock;
        bool flag = false;
        clock.scheduleIn(0.01, [&] { flag = true; });
        const double t0 = clock.now();
        QVERIFY(clock.waitUntil(t0 + 0.2, [&] { return flag; }));
        QCOMPARE(clock.now(), t0 + 0.01);
    }
    void waitWithoutEndIsAHang()
    {
        VirtualClock clock;
        QVERIFY_THROWS_EXCEPTION(VirtualClockHang, clock.waitUntil(Clock::kForever, [] { return false; }));
    }
    void scriptedAnswersInOrder()
    {
        ScriptedPrompts p;
        p.yes().input("12");
        QCOMPARE(p.askYesNo("T", "X", Prompts::Icon::Question), 6);
        QCOMPARE(p.inputBox("prompt", "title", " 3", QPoint(1000, 1000)), QString("12"));
        QCOMPARE(p.records.size(), 2);
        QCOMPARE(p.records[1].defaultText, QString(" 3"));
        QCOMPARE(p.records[1].twips, std::optional<QPoint>(QPoint(1000, 1000)));
        QVERIFY(p.verifyAllUsed());
    }
};

QTEST_GUILESS_MAIN(TestKit)
#include "tst_virtualclock.moc"
