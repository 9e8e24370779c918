// The NMEA data monitor against the simulated instrument: command byte once, channel polls, pause and resume.
#include "kit/LinkFixture.h"
#include "link/InstrumentContext.h"
#include "dialogs/frmNmeaData.h"

#include <QPushButton>
#include <QTest>

namespace {
struct MonitorBench : LinkFixture {
    frmNmeaData window;
    InstrumentContext ctx{state, prompts, link, view, [this] { connect(); }, {}};
};
} // namespace

class TestNmeaMonitor : public QObject {
    Q_OBJECT
private slots:
    void pollsPausesResumesAndStops()
    {
        MonitorBench b;
        b.connect();
        QVERIFY(b.state.Connected);
        b.sim.clearLog();
        b.state.NmeaChannel = 2;

        int sentAtPause = 0;
        int sentAfterPause = 0;
        int sentAfterResume = 0;
        b.clock.scheduleIn(2.0, [&] {
            QVERIFY(b.window.isVisible());
            QVERIFY(b.window.text().size() == frmNmeaData::kMaxCharacters);
            b.window.cmdNmeaDataFreeze->click();
        });
        b.clock.scheduleIn(2.05, [&] { sentAtPause = int(b.toInstrument().size()); });
        b.clock.scheduleIn(3.0, [&] {
            sentAfterPause = int(b.toInstrument().size());
            b.window.cmdNmeaDataResume->click();
        });
        b.clock.scheduleIn(3.5, [&] {
            sentAfterResume = int(b.toInstrument().size());
            b.window.cmdNmeaDataCancel->click();
        });
        b.window.run(b.ctx);

        QCOMPARE(b.window.windowTitle(), QString("Incoming Nmea Data:  Channel 2A and Channel 2B"));
        QVERIFY(!b.window.isVisible());
        QVERIFY(!b.window.isMonitoring());
        QCOMPARE(sentAfterPause, sentAtPause); // paused: nothing sent
        QVERIFY(sentAfterResume > sentAfterPause + 100);

        const QByteArray sent = b.toInstrument();
        QCOMPARE(sent.at(0), char(63));
        QCOMPARE(sent.count(char(63)), 1); // Resume does not send the command byte again
        const QByteArray polls = sent.mid(1, sent.size() - 6);
        QCOMPARE(polls, repeated(2, int(polls.size())));
        QCOMPARE(sent.right(5), bytes({61, 251, 0, 0, 0}));
        QVERIFY(!b.state.Connected);

        // What arrived reads as NMEA 0183 sentences of channel 2.
        const QString text = b.window.text();
        QVERIFY(text.size() <= frmNmeaData::kMaxCharacters);
        QVERIFY2(text.contains("$SD") || text.contains("$II"), qPrintable(text));
        QVERIFY(text.contains("\r\n"));
    }

    void keepsOnlyTheLast200Characters()
    {
        frmNmeaData w;
        for (int i = 0; i < 250; ++i)
            w.appendReceived(char('A' + i % 26));
        QCOMPARE(w.text().size(), 200);
        QCOMPARE(w.text().at(199), QChar('A' + 249 % 26));
        QCOMPARE(w.text().at(0), QChar('A' + 50 % 26));
    }
};

QTEST_MAIN(TestNmeaMonitor)
#include "tst_nmeamonitor_gui.moc"
