// connectToInstrument and the port choice against the in-process simulated instrument, on the virtual clock.
#include "kit/LinkFixture.h"
#include "link/Connection.h"

#include <QTest>

namespace
{
const QByteArray kCheck = bytes({61, 4, 5, 5, 5});
const QByteArray kVersions = bytes({61, 14, 0, 0, 0});
const QByteArray kProductCode = bytes({61, 2, 1, 28, 64});
const QByteArray kClaim = bytes({61, 13, 1, 229, 5, 123});
const QByteArray kIdentify = bytes({61, 5, 5, 5, 5});
const QByteArray kByte94 = bytes({61, 0, 1, 0, 94});
const QByteArray kCounter = bytes({61, 0, 2, 0, 10});
const QByteArray kIdentification = kClaim + kIdentify + kByte94 + kCounter;
const QByteArray kEightHashes = repeated(35, 8);
const QString kCaption = QStringLiteral("Attempting to connect to Corvane on COM  3 .");
const QString kTryAgain = QStringLiteral("Can't connect to Corvane on COM 3.\nDo you want to try again?");

QString dots(int n)
{
    return QString(" .").repeated(n);
}
} // namespace

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void fullConnectionByteStream()
    {
        LinkFixture f;
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, true);
        QCOMPARE(f.toInstrument(), kCheck + bytes({61}) + kEightHashes + kVersions + kProductCode + kIdentification);
        // The check frame's 61 is echoed as a probe by an instrument outside command mode.
        QCOMPARE(f.fromInstrument(), bytes({61, 61, 64, 23, 4, 12, 7, 5, 3, 3, 8, 3, 15, 12, 23, 4, 23, 0, 3}));
        QCOMPARE(f.port.written, f.toInstrument());
        QCOMPARE(f.port.opened, QStringList{"COM3"});
        QCOMPARE(f.sim.mode(), Simulator::Mode::Command);
        QCOMPARE(f.sim.memory.linkByte, quint8(123));
    }
    void fullConnectionState()
    {
        LinkFixture f;
        f.state.link.timedOut = true;
        f.connect();
        QCOMPARE(f.state.instrument.serialNumber, QString(" 80315012"));
        QCOMPARE(f.state.instrument.softwareVersion, QString(" 23"));
        QCOMPARE(f.state.instrument.hardwareVersion, QString(" 4"));
        QCOMPARE(f.state.instrument.unitVersions[0], QString(" 12"));
        QCOMPARE(f.state.instrument.unitVersions[3], QString(" 3"));
        QCOMPARE(f.state.instrument.productCode, quint8(3));
        QCOMPARE(f.state.systemBlock[10], quint8(0));
        QCOMPARE(f.state.systemBlock[11], quint8(3));
        QCOMPARE(f.state.link.timedOut, false);
        QCOMPARE(f.view.calls, QStringList({
                                   "setConnectingCaption:" + kCaption,
                                   "showConnecting",
                                   "setConnectingCaption:" + kCaption + dots(1),
                                   "showUnitVersions",
                                   "showProductCode:3",
                                   "hideConnecting",
                                   "setConnectedLabel:Connected to Tessaro",
                                   "setConnectedLabel:Connected to Corvane",
                                   "setSerialNumberLabel: Corvane SN#:  80315012",
                                   "showIdentity",
                                   "showNewConfigCount:3",
                               }));
    }
    void alreadyInCommandMode()
    {
        LinkFixture f;
        f.sim.setMode(Simulator::Mode::Command);
        f.connect();
        QCOMPARE(f.state.link.connected, true);
        QCOMPARE(f.toInstrument(), kCheck + kVersions + kProductCode + kIdentification);
        QCOMPARE(f.fromInstrument().left(1), bytes({4}));
        QVERIFY(!f.view.called("showConnecting"));
        QVERIFY(!f.view.called("setConnectingCaption"));
        QCOMPARE(f.state.instrument.serialNumber, QString(" 80315012"));
    }

    void noInstrument_data()
    {
        QTest::addColumn<int>("tries"); // Yes answers before the No
        QTest::newRow("No at once") << 0;
        QTest::newRow("Yes once, then No") << 1;
    }
    void noInstrument()
    {
        QFETCH(int, tries);
        LinkFixture f;
        f.sim.faults.silent = true;
        for (int i = 0; i < tries; ++i)
            f.prompts.yes();
        f.prompts.no();
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, false);
        QCOMPARE(f.toInstrument(), kCheck + repeated(61, 25 * (tries + 1)));
        QCOMPARE(f.prompts.beeps, tries + 1);
        for (const PromptRecord &r : f.prompts.records) {
            QCOMPARE(r.title, QString("Can't find Corvane"));
            QCOMPARE(r.text, kTryAgain);
            QCOMPARE(r.icon, Prompts::Icon::Question);
        }
        QVERIFY(!f.view.connectingVisible);
        QCOMPARE(f.view.caption, kCaption + dots(26));
        QCOMPARE(f.view.count("showConnecting"), tries + 1);
    }
    void instrumentSwitchedOnAfterYes()
    {
        LinkFixture f;
        f.sim.faults.silent = true;
        f.prompts.answerWith(ScriptedPrompts::Kind::YesNo, [&](const PromptRecord &) {
            f.sim.faults.silent = false;
            return QStringLiteral("6");
        });
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, true);
        QCOMPARE(f.toInstrument().left(5 + 26), kCheck + repeated(61, 26));
        QCOMPARE(f.view.caption, kCaption + dots(1));
    }
    void probeEchoedButNever64_data()
    {
        QTest::addColumn<int>("tries");
        QTest::newRow("No at once") << 0;
        QTest::newRow("Yes once, then No") << 1;
    }
    void probeEchoedButNever64()
    {
        QFETCH(int, tries);
        LinkFixture f;
        f.sim.faults.neverAnswer64 = true;
        for (int i = 0; i < tries; ++i)
            f.prompts.yes();
        f.prompts.no();
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, false);
        QByteArray round = bytes({61}) + kEightHashes;
        QCOMPARE(f.toInstrument(), kCheck + round.repeated(25 * (tries + 1)));
        QCOMPARE(f.prompts.last().text, kTryAgain);
        QVERIFY(!f.view.connectingVisible);
    }

    void lumiskUnarmedNo()
    {
        LinkFixture f;
        f.sim.setProductCode(2);
        f.prompts.no();
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.last().text, kTryAgain);
        QCOMPARE(f.prompts.beeps, 1);
        QCOMPARE(f.state.link.connected, false);
        QCOMPARE(f.state.link.timedOut, true);
        QCOMPARE(f.state.instrument.productCode, quint8(2));
        QCOMPARE(f.toInstrument(),
                 kCheck + bytes({61}) + kEightHashes + kVersions + kProductCode + bytes({61, 255, 0, 0, 0}));
        QCOMPARE(f.view.connectedLabel, QString("Not connected to Corvane"));
        QVERIFY(f.view.called("hideProgress"));
        QVERIFY(!f.view.connectingVisible);
        QCOMPARE(f.sim.mode(), Simulator::Mode::Normal);
        QCOMPARE(f.sim.memory.linkByte, quint8(0));
    }
    void lumiskUnarmedYesIdentifiesAgain()
    {
        LinkFixture f;
        f.sim.setProductCode(2);
        f.prompts.yes().no();
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        const QByteArray once = kEightHashes + kVersions + kProductCode;
        QCOMPARE(f.toInstrument(), kCheck + bytes({61}) + once + once + bytes({61, 255, 0, 0, 0}));
        QCOMPARE(f.view.count("showConnecting"), 2);
        QCOMPARE(f.state.link.connected, false);
    }
    void lumiskArmedConnects()
    {
        LinkFixture f;
        f.sim.setProductCode(2);
        f.state.factory.armed = true;
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, true);
        QCOMPARE(f.state.instrument.productCode, quint8(2));
        QCOMPARE(f.view.productCode, 2);
        QVERIFY(f.toInstrument().endsWith(kIdentification));
    }
    void tessaroIsNotRefused()
    {
        LinkFixture f;
        f.sim.setProductCode(1);
        f.connect();
        QCOMPARE(f.state.link.connected, true);
    }

    void serialNumber_data()
    {
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("8,3,15,12") << QList<int>{8, 3, 15, 12} << " 80315012";
        QTest::newRow("12,34,56,78") << QList<int>{12, 34, 56, 78} << " 123456078";
        QTest::newRow("erased 255") << QList<int>{255, 255, 255, 255} << " 0";
        QTest::newRow("erased 254") << QList<int>{254, 254, 254, 254} << " 0";
        QTest::newRow("mixed 254/255 is a number") << QList<int>{255, 255, 255, 254} << " 2575755254";
        QTest::newRow("zero") << QList<int>{0, 0, 0, 7} << " 7";
    }
    void serialNumber()
    {
        QFETCH(QList<int>, stored);
        LinkFixture f;
        for (int i = 0; i < 4; ++i)
            f.sim.memory.nvm[12 + i] = char(stored[i]);
        f.sim.memory.fixSystemBlockChecksum();
        f.connect();
        QTEST(f.state.instrument.serialNumber, "text");
        QFETCH(QString, text);
        QCOMPARE(f.view.serialNumberLabel, " Corvane SN#: " + text);
    }
    void softwareVersionFromMemory_data()
    {
        QTest::addColumn<int>("byte94");
        QTest::addColumn<QString>("text");
        QTest::newRow("255 keeps the identification's") << 255 << " 23";
        QTest::newRow("254 replaces it") << 254 << " 254";
        QTest::newRow("30 replaces it") << 30 << " 30";
        QTest::newRow("0 replaces it") << 0 << " 0";
    }
    void softwareVersionFromMemory()
    {
        QFETCH(int, byte94);
        LinkFixture f;
        f.sim.memory.nvm[94] = char(byte94);
        f.connect();
        QTEST(f.state.instrument.softwareVersion, "text");
        QCOMPARE(f.state.instrument.hardwareVersion, QString(" 4"));
    }
    void newConfigCounter_data()
    {
        QTest::addColumn<int>("b10");
        QTest::addColumn<int>("b11");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::newRow("1,2") << 1 << 2 << 1 << 2;
        QTest::newRow("253,9") << 253 << 9 << 253 << 9;
        QTest::newRow("254,9 erased") << 254 << 9 << 0 << 1;
        QTest::newRow("255,7 erased") << 255 << 7 << 0 << 1;
    }
    void newConfigCounter()
    {
        QFETCH(int, b10);
        QFETCH(int, b11);
        QFETCH(int, high);
        QFETCH(int, low);
        LinkFixture f;
        f.sim.memory.nvm[10] = char(b10);
        f.sim.memory.nvm[11] = char(b11);
        f.state.systemBlock[11] = 99;
        f.connect();
        QCOMPARE(int(f.state.systemBlock[10]), high);
        QCOMPARE(int(f.state.systemBlock[11]), low);
        QCOMPARE(f.view.newConfigCount, high * 256 + low);
    }

    void portChoiceEndsTheWait_data()
    {
        QTest::addColumn<int>("accepted"); // -1: the close box
        QTest::addColumn<bool>("connected");
        QTest::newRow("COM4 accepted") << 4 << true;
        QTest::newRow("None accepted") << 0 << false;
        QTest::newRow("chooser closed") << -1 << false;
    }
    void portChoiceEndsTheWait()
    {
        QFETCH(int, accepted);
        QFETCH(bool, connected);
        LinkFixture f(0);
        f.view.onShowPortChooser = [&] {
            f.clock.scheduleIn(5.0, [&] {
                if (accepted >= 0)
                    f.state.link.portNumber = quint8(accepted);
                f.view.chooserVisible = false;
            });
        };
        f.connect();
        QCOMPARE(f.state.link.connected, connected ? true : false);
        QCOMPARE(f.port.opened, connected ? QStringList{"COM4"} : QStringList{});
    }
    void connectsAgainAfterALostPort()
    {
        LinkFixture f(0);
        f.port.open("COM3");
        f.port.loseNow();
        QVERIFY(f.link.lost());
        f.view.onShowPortChooser = [&] { f.clock.scheduleIn(1.0, [&] { f.state.link.portNumber = 3; }); };
        f.connect();
        QCOMPARE(f.state.link.connected, true);
        QVERIFY(!f.link.lost());
    }
    void shutDownEndsAPortWait()
    {
        LinkFixture f(0);
        f.view.onShowPortChooser = [&] { f.clock.scheduleIn(1.0, [&] { f.link.shutDown(); }); };
        QVERIFY_THROWS_EXCEPTION(LinkLost, f.connect());
        QVERIFY(f.port.written.isEmpty());
    }
    void nothingEndsAPortWaitWithoutAChoice()
    {
        LinkFixture f(0);
        QVERIFY_THROWS_EXCEPTION(VirtualClockHang, f.connect());
        QVERIFY(f.port.written.isEmpty());
    }
    void cancelledPortPromptGivesUp()
    {
        LinkFixture f;
        f.port.refuse.insert("COM3", BytePort::OpenError::Busy);
        f.prompts.cancelInput();
        f.connect();
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.state.link.connected, false);
        QVERIFY(f.port.written.isEmpty());
        QVERIFY(f.view.calls.isEmpty());
    }
    void portLostMidConnection_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("silent");
        QTest::newRow("during the identification") << 20 << false;
        QTest::newRow("during the probes") << 12 << true;
        QTest::newRow("at the first byte") << 1 << false;
    }
    void portLostMidConnection()
    {
        QFETCH(int, after);
        QFETCH(bool, silent);
        LinkFixture f;
        f.sim.faults.disconnectAfter = after;
        f.sim.faults.silent = silent;
        f.prompts.ok();
        const bool ok = runInstrumentOperation(f.link, f.state, f.prompts, f.view, [&] { f.connect(); });
        QVERIFY(!ok);
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.last().title, QString("Connection lost"));
        QVERIFY(f.prompts.last().text.contains("COM3 (COM3) was lost"));
        QCOMPARE(f.state.link.connected, false);
        QVERIFY(!f.view.connectingVisible);
        QCOMPARE(f.toInstrument().size(), after);
        QVERIFY(!f.link.busy());
    }
    void secondOperationIsRefusedWhileConnecting()
    {
        LinkFixture f;
        bool secondRan = false;
        bool secondResult = true;
        f.prompts.ok();
        f.clock.scheduleIn(1.0, [&] {
            secondResult = runInstrumentOperation(f.link, f.state, f.prompts, f.view, [&] { secondRan = true; });
        });
        QVERIFY(runInstrumentOperation(f.link, f.state, f.prompts, f.view, [&] { f.connect(); }));
        QVERIFY(f.prompts.verifyAllUsed());
        QVERIFY(!secondRan);
        QVERIFY(!secondResult);
        QCOMPARE(f.state.link.connected, true);
        QCOMPARE(f.toInstrument(), kCheck + bytes({61}) + kEightHashes + kVersions + kProductCode + kIdentification);
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
