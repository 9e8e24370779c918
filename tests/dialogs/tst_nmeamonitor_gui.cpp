// The NMEA data monitor against the simulated instrument: command byte once, channel polls, pause and resume.
#include "kit/Child.h"
#include "kit/LinkFixture.h"
#include "link/InstrumentContext.h"
#include "ui/dialogs/NmeaMonitorWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace
{
struct MonitorBench : LinkFixture {
    NmeaMonitorWindow window;
    InstrumentContext ctx{state, prompts, link, view, [this] { connect(); }};

    void click(const char *button) { child<QPushButton>(window, QLatin1String(button))->click(); }
};
} // namespace

class TestNmeaMonitor : public QObject
{
    Q_OBJECT
private slots:
    void pollsPausesResumesAndStops()
    {
        MonitorBench b;
        b.connect();
        QVERIFY(b.state.link.connected);
        b.sim.clearLog();

        int sentAtPause = 0;
        int sentAfterPause = 0;
        int sentAfterResume = 0;
        b.clock.scheduleIn(2.0, [&] {
            QVERIFY(b.window.isVisible());
            QVERIFY(b.window.text().size() == NmeaMonitorWindow::kMaxCharacters);
            b.click("cmdNmeaDataFreeze");
        });
        b.clock.scheduleIn(2.05, [&] { sentAtPause = int(b.toInstrument().size()); });
        b.clock.scheduleIn(3.0, [&] {
            sentAfterPause = int(b.toInstrument().size());
            b.click("cmdNmeaDataResume");
        });
        b.clock.scheduleIn(3.5, [&] {
            sentAfterResume = int(b.toInstrument().size());
            b.click("cmdNmeaDataCancel");
        });
        b.window.run(b.ctx, 2);

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
        QVERIFY(!b.state.link.connected);

        // What arrived reads as NMEA 0183 sentences of channel 2.
        const QString text = b.window.text();
        QVERIFY(text.size() <= NmeaMonitorWindow::kMaxCharacters);
        QVERIFY2(text.contains("$SD") || text.contains("$II"), qPrintable(text));
        QVERIFY(text.contains("\r\n"));
    }

    // The character that answers a poll counts only after that poll's echo, however
    // late it comes: never an echo (a control character 1..4) in the text.
    void showsOnlySentenceText_data()
    {
        QTest::addColumn<double>("characterDelay");
        QTest::newRow("at once") << 0.0;
        QTest::newRow("5 ms") << 0.005;
        QTest::newRow("20 ms") << 0.02;
        QTest::newRow("150 ms") << 0.15;
    }
    void showsOnlySentenceText()
    {
        QFETCH(double, characterDelay);
        MonitorBench b;
        b.connect();
        SimFaults f;
        f.characterDelay = characterDelay;
        b.sim.setFaults(f);
        b.clock.scheduleIn(40.0, [&] { b.click("cmdNmeaDataCancel"); });
        b.window.run(b.ctx, 2);
        const QString text = b.window.text();
        QVERIFY2(text.size() > 100, qPrintable(text));
        for (QChar c : text)
            QVERIFY2(c == '\r' || c == '\n' || (c >= ' ' && c <= '~'), qPrintable(text));
        QVERIFY2(text.contains("$SD") || text.contains("$II"), qPrintable(text));
        QCOMPARE(child<QPlainTextEdit>(b.window, QStringLiteral("txtNmeaData"))->toPlainText(),
                 QString(text).remove('\r'));
    }

    void saysWhenTheChannelIsSilent()
    {
        MonitorBench b;
        b.connect();
        SimFaults f;
        f.silentMonitor = true;
        b.sim.setFaults(f);
        QString early, late;
        b.clock.scheduleIn(1.0, [&] { early = b.window.status(); });
        b.clock.scheduleIn(5.0, [&] {
            late = b.window.status();
            b.click("cmdNmeaDataCancel");
        });
        b.window.run(b.ctx, 3);
        QCOMPARE(early, QString());
        QCOMPARE(late, QString("No answer from the instrument on channel 3A/3B"));
        QCOMPARE(b.toInstrument().right(5), bytes({61, 251, 0, 0, 0}));
    }

    void keepsOnlyTheLast200Characters()
    {
        NmeaMonitorWindow w;
        for (int i = 0; i < 250; ++i)
            w.appendReceived(char('A' + i % 26));
        QCOMPARE(w.text().size(), 200);
        QCOMPARE(w.text().at(199), QChar('A' + 249 % 26));
        QCOMPARE(w.text().at(0), QChar('A' + 50 % 26));
    }
};

QTEST_MAIN(TestNmeaMonitor)
#include "tst_nmeamonitor_gui.moc"
