// The byte primitives, the receive buffer, the port-opening prompt and the busy guard, on the virtual clock.
#include "core/Protocol.h"
#include "kit/FakePort.h"
#include "kit/RecordingView.h"
#include "kit/ScriptedPrompts.h"
#include "kit/VirtualClock.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

#include <QTest>

namespace
{
struct Bench {
    OperationRecord state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    FakePort port{clock};
    RecordingView view;
    SerialLink link{state.link, prompts, clock, port,
                    [](int n) { return n > 0 ? QStringLiteral("COM%1").arg(n) : QString(); }};
    explicit Bench(int comPort = 3, bool open = true)
    {
        state.link.portNumber = quint8(comPort);
        link.setView(&view);
        if (open)
            port.open(QStringLiteral("COM%1").arg(comPort));
    }
};

const QString kOpenErrorPort3 = QStringLiteral("Error encountered while trying to open COM 3.\n"
                                               "Please check data and power connections.\n\n"
                                               "Enter a new COM port number or click Cancel.");
} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT
private slots:
    void echoWait_data()
    {
        QTest::addColumn<int>("sent");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("replyAfter");
        QTest::addColumn<int>("element1");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<double>("waited");
        QTest::addColumn<int>("wrong");
        QTest::newRow("echo of 0 ends the wait") << 0 << QByteArray(1, 0) << 0.01 << 0 << false << 0.01 << 0;
        // A different byte still ends the wait, but the byte counts as unconfirmed.
        QTest::newRow("any first byte ends it") << 0 << QByteArray(1, 7) << 0.01 << 7 << false << 0.01 << 1;
        QTest::newRow("first of several") << 9 << QByteArray("\x09\x41", 2) << 0.05 << 9 << false << 0.05 << 0;
        QTest::newRow("wrong first of several") << 9 << QByteArray("\x41\x09", 2) << 0.05 << 65 << false << 0.05 << 1;
        QTest::newRow("silence: sentinel 255 for 0") << 0 << QByteArray() << 0.0 << 255 << true << 0.2 << 0;
        QTest::newRow("silence: sentinel 55 for 200") << 200 << QByteArray() << 0.0 << 55 << true << 0.2 << 0;
        QTest::newRow("too late") << 0 << QByteArray(1, 0) << 0.3 << 255 << true << 0.2 << 0;
    }
    void echoWait()
    {
        QFETCH(int, sent);
        QFETCH(QByteArray, reply);
        QFETCH(double, replyAfter);
        Bench b;
        b.link.RxCount = 12;
        if (!reply.isEmpty())
            b.port.injectIn(replyAfter, reply);
        const double t0 = b.clock.now();
        b.link.sendByteCheckEcho(sent);
        QCOMPARE(b.port.written, QByteArray(1, char(sent)));
        QFETCH(bool, timedOut);
        QTEST(int(b.link.element(1)), "element1");
        QCOMPARE(b.state.link.timedOut == true, timedOut);
        QCOMPARE(b.link.missedEchoes(), timedOut ? 1 : 0);
        QFETCH(int, wrong);
        QCOMPARE(b.link.wrongEchoes(), wrong);
        QCOMPARE(b.link.unacknowledgedBytes(), wrong + (timedOut ? 1 : 0));
        QFETCH(double, waited);
        QVERIFY(qAbs(b.clock.now() - t0 - waited) < 1e-9);
        QVERIFY(b.port.discards >= 1);
    }
    // Each data byte of a write frame is noted against the area of the image it goes
    // to: an area a byte may have reached, and one with a byte not confirmed.
    void writesNoteTheAreasTheyReach_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("echo"); // "same", "one wrong", "none"
        QTest::addColumn<QString>("reached");
        QTest::addColumn<QString>("unconfirmed");
        const int write = proto::kWrite24C512, config3 = proto::kConfigBlockBase + 2 * proto::kConfigBlockSize;
        QTest::newRow("the settings") << proto::kWriteInternalNvm << 0 << 0 << "same"
                                      << "settings"
                                      << "nothing";
        QTest::newRow("bytes of the settings") << proto::kWriteInternalNvm << 201 << 16 << "one wrong"
                                               << "settings"
                                               << "settings";
        QTest::newRow("internal memory past the settings") << proto::kWriteInternalNvm << 300 << 1 << "same"
                                                           << "nothing"
                                                           << "nothing";
        QTest::newRow("a wrong echo") << write << config3 + 64 << 64 << "one wrong"
                                      << "display configuration 3"
                                      << "display configuration 3";
        QTest::newRow("nothing back: not reached") << write << config3 << 64 << "none"
                                                   << "nothing"
                                                   << "display configuration 3";
        QTest::newRow("across two configurations") << write << config3 + 96 << 64 << "same"
                                                   << "display configurations 3-4"
                                                   << "nothing";
        QTest::newRow("a sender curve") << write << proto::kCurveBase + 5 * proto::kCurveSize << 64 << "same"
                                        << "sender curves"
                                        << "nothing";
        QTest::newRow("the backup area") << write << proto::kLowAreaBackup + 4096 << 64 << "same"
                                         << "nothing"
                                         << "nothing";
        QTest::newRow("a read") << proto::kRead24C512 << config3 << 64 << "same"
                                << "nothing"
                                << "nothing";
    }
    void writesNoteTheAreasTheyReach()
    {
        QFETCH(int, code);
        QFETCH(int, address);
        QFETCH(int, count);
        QFETCH(QString, echo);
        Bench b;
        int sent = -1; // the frame's bytes are not answered
        b.port.answer = [&](quint8 x) {
            if (sent < 0 || echo == QLatin1String("none"))
                return QByteArray();
            ++sent;
            return QByteArray(1, char(echo == QLatin1String("one wrong") && sent == 10 ? x ^ 1 : x));
        };
        b.link.sendFrameAt(code, count, address);
        sent = 0;
        for (int i = 0; i < (count == 0 ? 256 : count); ++i)
            b.link.sendByteCheckEcho(i);
        QTEST(b.link.imageWrites().reached().describe(), "reached");
        QTEST(b.link.imageWrites().unconfirmed().describe(), "unconfirmed");
        b.link.clearImageWrites();
        QVERIFY(!b.link.imageWrites().reached().any());
    }

    void missedEchoesAreCounted()
    {
        Bench b;
        b.link.sendByteCheckEcho(1);
        b.link.sendByteCheckEcho(2);
        b.port.answer = [](quint8 x) { return QByteArray(1, char(x)); };
        b.link.sendByteCheckEcho(3);
        QCOMPARE(b.link.missedEchoes(), 2);
        b.port.answer = [](quint8 x) { return QByteArray(1, char(x ^ 1)); };
        b.link.sendByteCheckEcho(4);
        QCOMPARE(b.link.unacknowledgedBytes(), 3);
        b.link.resetEchoCounts();
        QCOMPARE(b.link.missedEchoes(), 0);
        QCOMPARE(b.link.wrongEchoes(), 0);
    }
    void echoWaitIgnoresBytesFromBefore()
    {
        Bench b;
        b.port.inject(QByteArray(1, 5)); // a stale byte, already stored
        QCOMPARE(b.link.RxCount, qint16(1));
        b.link.sendByteCheckEcho(5);
        QCOMPARE(b.link.RxCount, qint16(0));
        QCOMPARE(b.state.link.timedOut, true);
    }

    void receiveByte_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("after");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("a byte") << QByteArray(1, 42) << 0.05 << 42 << false;
        QTest::newRow("a zero byte") << QByteArray(1, 0) << 0.05 << 0 << false;
        QTest::newRow("255") << QByteArray(1, char(255)) << 0.05 << 255 << false;
        QTest::newRow("nothing") << QByteArray() << 0.0 << -1 << true;
        QTest::newRow("too late") << QByteArray(1, 1) << 0.25 << -1 << true;
    }
    void receiveByte()
    {
        QFETCH(QByteArray, reply);
        QFETCH(double, after);
        Bench b;
        if (!reply.isEmpty())
            b.port.injectIn(after, reply);
        QTEST(int(b.link.receiveByte()), "result");
        QTEST(b.state.link.timedOut == true, "timedOut");
        QVERIFY(b.port.written.isEmpty());
    }

    void sendBytePausesAndLeavesTheBuffer()
    {
        Bench b;
        b.port.inject(QByteArray("\x01\x02", 2));
        const double t0 = b.clock.now();
        for (int i = 0; i < 10; ++i)
            b.link.sendByte(i);
        QVERIFY(b.clock.now() - t0 >= 0.5 - 1e-9);
        QCOMPARE(b.link.RxCount, qint16(2));
        QCOMPARE(b.link.element(2), qint16(2));
        QCOMPARE(b.port.discards, 0);
    }
    void frameIsFiveBytesAtTheirPace()
    {
        Bench b;
        const double t0 = b.clock.now();
        b.link.sendFrameAt(2, 1, 7232);
        b.link.sendFrame(3, 256, 0x150, 0);
        QCOMPARE(b.port.written, QByteArray("\x3D\x02\x01\x1C\x40\x3D\x03\x00\x50\x00", 10));
        QVERIFY(qAbs(b.clock.now() - t0 - 0.5) < 1e-9);
    }
    void emptyBufferSetsTheSentinel()
    {
        Bench b;
        b.port.inject(QByteArray("abc"));
        b.link.emptyBuffer(-1);
        QCOMPARE(b.link.RxCount, qint16(0));
        QCOMPARE(b.link.element(1), qint16(-1));
        QCOMPARE(b.port.discards, 1);
        b.link.emptyBuffer();
        QCOMPARE(b.link.element(1), qint16(0));
    }

    void bufferHoldsAt4090()
    {
        Bench b;
        QByteArray many;
        for (int i = 0; i < 5000; ++i)
            many += char(i % 251);
        // In chunks, as a driver delivers them.
        for (int i = 0; i < many.size(); i += 700)
            b.port.inject(many.mid(i, 700));
        QCOMPARE(b.link.RxCount, qint16(4090));
        for (int i = 1; i <= 4090; ++i)
            QCOMPARE(b.link.element(i), qint16(quint8(many[i - 1])));
        QCOMPARE(b.link.element(4091), qint16(quint8(many[4999])));
        QCOMPARE(b.link.element(4092), qint16(0));
    }
    void receivedBytesWakeTheEchoWait()
    {
        // The handler ends a wait at once: the echo wait returns at the byte's time.
        Bench b;
        b.port.answer = [](quint8 x) { return QByteArray(1, char(x)); };
        b.port.answerDelay = 0.0004;
        const double t0 = b.clock.now();
        for (int i = 0; i < 256; ++i)
            b.link.sendByteCheckEcho(i);
        QVERIFY(b.clock.now() - t0 < 256 * 0.0004 + 1e-6);
        QCOMPARE(b.link.missedEchoes(), 0);
    }

    void openComPort_data()
    {
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QStringList>("answers"); // "" = Cancel
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("opens at once") << QStringList() << QStringList() << true << 3 << 0 << QStringList{"COM3"};
        QTest::newRow("cancel leaves it closed")
            << QStringList{"COM3"} << QStringList{""} << false << 3 << 0 << QStringList();
        QTest::newRow("answer 3 after 5")
            << QStringList{"COM5"} << QStringList{"3"} << true << 3 << 0 << QStringList{"COM3"};
        QTest::newRow("256 beeps and asks again")
            << QStringList{"COM3"} << QStringList{"256", ""} << false << 3 << 1 << QStringList();
        QTest::newRow("negative beeps") << QStringList{"COM3"} << QStringList{"-2", "4"} << true << 4 << 1
                                        << QStringList{"COM4"};
        QTest::newRow("leading number") << QStringList{"COM3"} << QStringList{" 7 please"} << true << 7 << 0
                                        << QStringList{"COM7"};
        QTest::newRow("text reads as 0, then 2")
            << QStringList{"COM3"} << QStringList{"abc", "2"} << true << 2 << 0 << QStringList{"COM2"};
        QTest::newRow("255 is a port number")
            << QStringList{"COM3", "COM255"} << QStringList{"255", ""} << false << 255 << 0 << QStringList();
    }
    void openComPort()
    {
        QFETCH(QStringList, refused);
        QFETCH(QStringList, answers);
        Bench b(3, false);
        for (const QString &d : refused)
            b.port.refuse.insert(d, BytePort::OpenError::Busy);
        if (refused.contains("COM5"))
            b.state.link.portNumber = 5;
        for (const QString &a : answers)
            a.isEmpty() ? b.prompts.cancelInput() : b.prompts.input(a);
        b.link.openComPort();
        QVERIFY(b.prompts.verifyAllUsed());
        QTEST(b.link.isOpen(), "open");
        QTEST(int(b.state.link.portNumber), "port");
        QTEST(b.prompts.beeps, "beeps");
        QTEST(b.port.opened, "opened");
        for (const PromptRecord &r : b.prompts.records) {
            QCOMPARE(r.title, QString("Communications Error"));
            QCOMPARE(r.defaultText, QString("0"));
        }
    }
    void openErrorPromptText_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("number");
        QTest::newRow("5") << 5 << " 5";
        QTest::newRow("12") << 12 << "12";
        QTest::newRow("99") << 99 << "99";
        QTest::newRow("123 in full") << 123 << "123";
    }
    void openErrorPromptText()
    {
        QFETCH(int, port);
        QFETCH(QString, number);
        Bench b(port, false);
        b.port.refuse.insert(QStringLiteral("COM%1").arg(port), BytePort::OpenError::NotFound);
        b.prompts.cancelInput();
        b.link.openComPort();
        QCOMPARE(b.prompts.last().text, QString(kOpenErrorPort3).replace("COM 3.", "COM" + number + "."));
    }
    void sameNumberPromptAfterRefusedAnswer()
    {
        Bench b(3, false);
        b.port.refuse.insert("COM3", BytePort::OpenError::Busy);
        b.prompts.input("999").cancelInput();
        b.link.openComPort();
        QCOMPARE(b.prompts.records.size(), 2);
        QCOMPARE(b.prompts.records[0].text, kOpenErrorPort3);
        QCOMPARE(b.prompts.records[1].text, kOpenErrorPort3);
        QCOMPARE(b.state.link.portNumber, quint8(3));
        QVERIFY(b.view.calls.isEmpty());
    }
    void newNumberIsShown()
    {
        Bench b(3, false);
        b.port.refuse.insert("COM3", BytePort::OpenError::Busy);
        b.prompts.input("9");
        b.link.openComPort();
        QCOMPARE(b.view.calls, QStringList({"portChanged:9"}));
        QCOMPARE(b.view.commsPortLabel, QString("COM Port =  9"));
    }
    void permissionNamesTheFix()
    {
        Bench b(3, false);
        b.port.refuse.insert("COM3", BytePort::OpenError::PermissionDenied);
        b.prompts.cancelInput();
        b.link.openComPort();
        const QString text = b.prompts.last().text;
        QVERIFY(text.startsWith(kOpenErrorPort3 + "\n\n"));
        QVERIFY(text.contains("\"dialout\""));
    }
    void openClosesFirstAndSettles()
    {
        Bench b;
        QVERIFY(b.link.isOpen());
        const double t0 = b.clock.now();
        b.link.openComPort();
        QCOMPARE(b.port.opened, QStringList({"COM3", "COM3"}));
        QVERIFY(qAbs(b.clock.now() - t0 - 0.5) < 1e-9);
        QVERIFY(b.prompts.verifyAllUsed());
    }

    void lostPortEndsWaitsAtOnce_data()
    {
        QTest::addColumn<int>("what"); // 0 echo wait, 1 receive, 2 delay
        QTest::newRow("echo wait") << 0;
        QTest::newRow("receive") << 1;
        QTest::newRow("delay") << 2;
    }
    void lostPortEndsWaitsAtOnce()
    {
        QFETCH(int, what);
        Bench b;
        b.port.loseIn(0.01);
        const double t0 = b.clock.now();
        auto run = [&] {
            if (what == 0)
                b.link.sendByteCheckEcho(1);
            else if (what == 1)
                b.link.receiveByte();
            else
                b.link.delay(5.0);
        };
        QVERIFY_THROWS_EXCEPTION(LinkLost, run());
        QVERIFY(qAbs(b.clock.now() - t0 - 0.01) < 1e-9);
        QVERIFY(b.link.lost());
        // Everything after fails at once, without waiting.
        QVERIFY_THROWS_EXCEPTION(LinkLost, b.link.sendByte(1));
        QCOMPARE(b.clock.now() - t0, 0.01);
    }
    void reopeningClearsLost()
    {
        Bench b;
        b.port.loseIn(0.0);
        QVERIFY_THROWS_EXCEPTION(LinkLost, b.link.delay(0.1));
        b.link.openComPort();
        QVERIFY(!b.link.lost());
        b.link.sendByte(1);
        QCOMPARE(b.port.written, QByteArray(1, 1));
    }
    void closedPortThrows()
    {
        Bench b(3, false);
        QVERIFY_THROWS_EXCEPTION(LinkLost, b.link.sendByteCheckEcho(0));
        QVERIFY_THROWS_EXCEPTION(LinkLost, b.link.sendByte(0));
    }
    void shutDownEndsTheOperation()
    {
        Bench b;
        b.clock.scheduleIn(0.3, [&] { b.link.shutDown(); });
        QVERIFY_THROWS_EXCEPTION(LinkLost, b.link.delay(10));
        QVERIFY(!b.port.isOpen());
    }

    void busyGuardRefusesASecondOperation()
    {
        Bench b;
        b.prompts.ok();
        {
            InstrumentOperation first(b.link, b.prompts);
            QVERIFY(!first.refused());
            QVERIFY(b.link.busy());
            InstrumentOperation second(b.link, b.prompts);
            QVERIFY(second.refused());
            QVERIFY(b.link.busy());
        }
        QVERIFY(!b.link.busy());
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().text, QString("Please wait: the instrument is busy."));
        QCOMPARE(b.prompts.last().icon, Prompts::Icon::Information);
    }
    void operationRunnerReportsALostLink()
    {
        Bench b;
        b.state.link.connected = true;
        b.port.loseIn(0.05);
        b.prompts.ok();
        bool reachedEnd = false;
        const bool ok = runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] {
            b.view.showProgress();
            b.link.delay(1.0);
            reachedEnd = true;
        });
        QVERIFY(!ok);
        QVERIFY(!reachedEnd);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().title, QString("Connection lost"));
        QCOMPARE(b.state.link.connected, false);
        QVERIFY(!b.view.progressVisible);
        QCOMPARE(b.view.connectedLabel, QString("Not connected to Corvane"));
        QVERIFY(!b.link.busy());
    }
    void operationRunnerRefusesWhileBusy()
    {
        Bench b;
        b.prompts.ok();
        bool inner = false;
        runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] {
            QVERIFY(!runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] { inner = true; }));
        });
        QVERIFY(!inner);
        QVERIFY(b.prompts.verifyAllUsed());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
