// The simulated instrument's command handling, memories, NMEA streams and fault knobs.
#include "NmeaStream.h"
#include "Simulator.h"
#include "kit/LinkFixture.h"
#include "kit/TempProgramFolder.h"

#include <QTest>

Q_DECLARE_METATYPE(Simulator::Mode)

namespace
{
QByteArray feed(Simulator &sim, const QByteArray &in, double t = 0)
{
    QByteArray out;
    for (char c : in)
        for (const SimReply &r : sim.receive(quint8(c), t))
            out += char(r.byte);
    return out;
}

QByteArray memoryBytes(const QByteArray &memory, int from, int count)
{
    QByteArray b;
    for (int i = 0; i < count; ++i)
        b += char(SimMemory::at(memory, from + i));
    return b;
}
} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT
private slots:
    void commands_data()
    {
        const Simulator fresh;
        using M = Simulator::Mode;
        QTest::addColumn<Simulator::Mode>("mode");
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<Simulator::Mode>("after");
        QTest::newRow("probe echoed") << M::Normal << bytes({61}) << bytes({61}) << M::Normal;
        QTest::newRow("eight # answer 64") << M::Normal << repeated(35, 8) << bytes({64}) << M::Command;
        QTest::newRow("seven # are not enough") << M::Normal << repeated(35, 7) << QByteArray() << M::Normal;
        QTest::newRow("# must be consecutive")
            << M::Normal << repeated(35, 7) + bytes({61}) + repeated(35, 1) << bytes({61}) << M::Normal;
        QTest::newRow("check frame outside command mode")
            << M::Normal << bytes({61, 4, 5, 5, 5}) << bytes({61}) << M::Normal;
        QTest::newRow("command-mode check") << M::Command << bytes({61, 4, 5, 5, 5}) << bytes({4}) << M::Command;
        QTest::newRow("eight # resynchronise") << M::Command << repeated(35, 8) << bytes({64}) << M::Command;
        QTest::newRow("identification") << M::Command << bytes({61, 5, 5, 5, 5}) << bytes({8, 3, 15, 12, 23, 4})
                                        << M::Command;
        QTest::newRow("versions") << M::Command << bytes({61, 14, 0, 0, 0}) << bytes({23, 4, 12, 7, 5, 3})
                                  << M::Command;
        QTest::newRow("product code") << M::Command << bytes({61, 2, 1, 28, 64}) << bytes({3}) << M::Command;
        QTest::newRow("internal RAM at 300 wraps")
            << M::Command << bytes({61, 7, 3, 1, 44}) << memoryBytes(fresh.memory.ram, 44, 3) << M::Command;
        QTest::newRow("XRAM") << M::Command << bytes({61, 8, 2, 7, 0}) << memoryBytes(fresh.memory.xram, 1792, 2)
                              << M::Command;
        QTest::newRow("flash") << M::Command << bytes({61, 253, 4, 28, 0}) << memoryBytes(fresh.memory.flash, 7168, 4)
                               << M::Command;
        QTest::newRow("count 0 reads 256")
            << M::Command << bytes({61, 0, 0, 0, 0}) << memoryBytes(fresh.memory.nvm, 0, 256) << M::Command;
        QTest::newRow("write echoes every byte, 61 included")
            << M::Command << bytes({61, 3, 3, 0, 0, 61, 35, 0}) << bytes({61, 35, 0}) << M::Command;
        QTest::newRow("link byte is not echoed")
            << M::Command << bytes({61, 13, 1, 229, 5, 123}) << QByteArray() << M::Command;
        QTest::newRow("soft reset leaves command mode")
            << M::Command << bytes({61, 251, 0, 0, 0, 61}) << bytes({61}) << M::Normal;
        QTest::newRow("clear RAM leaves command mode")
            << M::Command << bytes({61, 255, 0, 0, 0}) << QByteArray() << M::Normal;
        QTest::newRow("ISP from 24C512 is silent")
            << M::Command << bytes({61, 9, 0, 0, 0, 61}) + repeated(35, 8) << QByteArray() << M::Isp;
        QTest::newRow("ISP own loader is silent")
            << M::Command << bytes({61, 10, 0, 0, 0, 61}) << QByteArray() << M::Isp;
        QTest::newRow("unknown code ignored")
            << M::Command << bytes({61, 99, 1, 0, 0, 61, 4, 5, 5, 5}) << bytes({4}) << M::Command;
        QTest::newRow("monitor echoes the channel and a character")
            << M::Command << bytes({63, 1, 1, 3}) << bytes({1, '$', 1, 'G', 3, '$'}) << M::Monitor;
        QTest::newRow("monitor ignores other bytes")
            << M::Command << bytes({63, 5, 0, 35}) << QByteArray() << M::Monitor;
        QTest::newRow("61 ends the monitor with a frame")
            << M::Command << bytes({63, 2, 61, 4, 5, 5, 5}) << bytes({2, '$', 4}) << M::Command;
    }
    void commands()
    {
        QFETCH(Simulator::Mode, mode);
        QFETCH(QByteArray, in);
        Simulator sim;
        sim.setMode(mode);
        QTEST(feed(sim, in), "out");
        QTEST(sim.mode(), "after");
    }

    void writesReachTheMemories()
    {
        Simulator sim;
        sim.setMode(Simulator::Mode::Command);
        feed(sim, bytes({61, 1, 2, 0, 100, 7, 9}));
        QCOMPARE(memoryBytes(sim.memory.nvm, 100, 2), bytes({7, 9}));
        feed(sim, bytes({61, 3, 1, 28, 64, 2}));
        QCOMPARE(sim.productCode(), quint8(2));
        feed(sim, bytes({61, 13, 1, 229, 5, 123, 61, 12, 0, 14, 30}));
        QCOMPARE(sim.memory.linkByte, quint8(123));
        QCOMPARE(sim.memory.clockHours, quint8(14));
        QCOMPARE(sim.memory.clockMinutes, quint8(30));
    }
    void copiesSectorsToFlash()
    {
        Simulator sim;
        sim.setMode(Simulator::Mode::Command);
        for (int i = 0; i < 192; ++i)
            sim.memory.eeprom[16384 + i] = char(i ^ 0x33);
        const QByteArray after = memoryBytes(sim.memory.flash, 7168 + 128, 64);
        feed(sim, bytes({61, 252, 2, 64, 0}));
        QCOMPARE(memoryBytes(sim.memory.flash, 7168, 128), memoryBytes(sim.memory.eeprom, 16384, 128));
        QCOMPARE(memoryBytes(sim.memory.flash, 7168 + 128, 64), after);
    }
    void clearRamAndReset()
    {
        Simulator sim;
        sim.setMode(Simulator::Mode::Command);
        feed(sim, bytes({61, 9, 0, 0, 0}));
        sim.reset();
        QCOMPARE(feed(sim, bytes({61})), bytes({61}));
        feed(sim, repeated(35, 8) + bytes({61, 255, 0, 0, 0}));
        QCOMPARE(sim.memory.ram, QByteArray(256, 0));
    }
    void factoryContents()
    {
        Simulator sim;
        QCOMPARE(quint8(sim.memory.nvm[0]), sim.memory.systemBlockChecksum());
        QCOMPARE(memoryBytes(sim.memory.nvm, 12, 4), bytes({8, 3, 15, 12}));
        QCOMPARE(quint8(sim.memory.nvm[94]), sim.softwareVersion);
        QCOMPARE(sim.productCode(), quint8(3));
        for (int n = 0; n < 16; ++n) {
            quint8 x = 0;
            for (int i = 1; i < 128; ++i)
                x ^= SimMemory::at(sim.memory.eeprom, 4096 + 128 * n + i);
            QCOMPARE(SimMemory::at(sim.memory.eeprom, 4096 + 128 * n), x);
        }
    }

    void logHasBothDirectionsWithTimes()
    {
        Simulator sim;
        feed(sim, bytes({61}), 2.0);
        feed(sim, bytes({7}), 3.0);
        QCOMPARE(int(sim.log().size()), 3);
        QVERIFY(sim.log()[0].fromEditor && sim.log()[0].time == 2.0);
        QVERIFY(!sim.log()[1].fromEditor && sim.log()[1].time > 2.0 && sim.log()[1].time < 2.01);
        QCOMPARE(sim.log()[2].byte, quint8(7));
        QCOMPARE(sim.receivedBytes(), bytes({61, 7}));
        QCOMPARE(sim.sentBytes(), bytes({61}));
        sim.clearLog();
        QVERIFY(sim.log().empty());
    }

    void faults_data()
    {
        QTest::addColumn<QString>("knob");
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<QByteArray>("out");
        const QByteArray write = repeated(35, 8) + bytes({61, 3, 2, 0, 0, 10, 20});
        QTest::newRow("silent") << "silent" << write << QByteArray();
        QTest::newRow("never 64") << "never64" << bytes({61}) + repeated(35, 8) << bytes({61});
        QTest::newRow("wrong echo") << "wrongEcho" << write << bytes({64, 7, 7});
        QTest::newRow("drop everything") << "drop" << write << QByteArray();
        QTest::newRow("disconnect after 14") << "disconnect" << write << bytes({64, 10});
        QTest::newRow("mute after 14") << "mute" << write + bytes({30}) << bytes({64, 10});
        QTest::newRow("garble answers 0 and 2") << "garbleAt" << write << bytes({64 ^ 0x5A, 10, 20 ^ 0x5A});
    }
    void faults()
    {
        QFETCH(QString, knob);
        QFETCH(QByteArray, in);
        Simulator sim;
        SimFaults f;
        f.silent = knob == "silent";
        f.neverAnswer64 = knob == "never64";
        f.wrongEcho = knob == "wrongEcho" ? 7 : -1;
        f.dropProbability = knob == "drop" ? 1.0 : 0.0;
        f.disconnectAfter = knob == "disconnect" ? 14 : -1;
        f.muteAfter = knob == "mute" ? 14 : -1;
        if (knob == "garbleAt")
            f.garbleAt = {0, 2};
        sim.setFaults(f);
        QTEST(feed(sim, in), "out");
        QCOMPARE(sim.disconnected(), knob == "disconnect");
    }
    void slowEchoes()
    {
        Simulator sim;
        SimFaults f;
        f.echoDelay = 0.3;
        sim.setFaults(f);
        sim.setMode(Simulator::Mode::Command);
        feed(sim, bytes({61, 1, 1, 0, 5}));
        const auto replies = sim.receive(9, 0);
        QCOMPARE(int(replies.size()), 1);
        QVERIFY(replies[0].delay > 0.2);
        // On the link that is a missed echo.
        LinkFixture b;
        b.sim.setFaults(f);
        b.sim.setMode(Simulator::Mode::Command);
        b.port.open("COM3");
        b.link.sendFrame(1, 1, 0, 5);
        b.link.sendByteCheckEcho(9);
        QCOMPARE(b.state.link.timedOut, true);
        QCOMPARE(b.link.missedEchoes(), 1);
    }
    void oneLateAnswer()
    {
        Simulator sim;
        SimFaults f;
        f.lateAt = 1;
        f.extraDelay = 0.4;
        sim.setFaults(f);
        sim.setMode(Simulator::Mode::Command);
        std::vector<SimReply> replies;
        for (quint8 b : bytes({61, 2, 3, 0, 0}))
            replies = sim.receive(b, 0);
        QCOMPARE(int(replies.size()), 3);
        QVERIFY(replies[0].delay < 0.01);
        QVERIFY(replies[1].delay > 0.4);
        QVERIFY(replies[2].delay < 0.01);
    }
    void badChecksumOnReads()
    {
        Simulator sim;
        SimFaults f;
        f.badChecksum = true;
        sim.setFaults(f);
        sim.setMode(Simulator::Mode::Command);
        const QByteArray block = feed(sim, bytes({61, 0, 0, 0, 0}));
        quint8 x = 0;
        for (int i = 1; i < 256; ++i)
            x ^= quint8(block[i]);
        QVERIFY(quint8(block[0]) != x);
        QCOMPARE(quint8(sim.memory.nvm[0]), sim.memory.systemBlockChecksum()); // the memory itself is sound
    }
    void randomFaultsFollowTheSeed()
    {
        auto run = [](quint32 seed) {
            Simulator sim;
            SimFaults f;
            f.dropProbability = 0.2;
            f.garbleProbability = 0.2;
            f.seed = seed;
            sim.setFaults(f);
            sim.setMode(Simulator::Mode::Command);
            return feed(sim, bytes({61, 0, 0, 0, 0}));
        };
        const QByteArray a = run(7);
        QCOMPARE(run(7), a);
        QVERIFY(run(8) != a);
        QVERIFY(a.size() < 256 && a.size() > 128);
    }

    void memoriesSurviveAFile()
    {
        TempProgramFolder folder;
        Simulator sim;
        sim.memory.nvm[300] = char(77);
        sim.memory.eeprom[65535] = char(1);
        sim.memory.clockHours = 9;
        QVERIFY(sim.memory.save(folder.file("mem.bin")));
        Simulator other;
        QVERIFY(other.memory.load(folder.file("mem.bin")));
        QCOMPARE(other.memory.nvm, sim.memory.nvm);
        QCOMPARE(other.memory.eeprom, sim.memory.eeprom);
        QCOMPARE(other.memory.flash, sim.memory.flash);
        QCOMPARE(other.memory.clockHours, quint8(9));
    }
    void aWrongFileIsRefused()
    {
        TempProgramFolder folder;
        folder.write("bad.bin", "CORVANE-SIM-MEMORY 1\nshort");
        Simulator sim;
        const QByteArray nvm = sim.memory.nvm;
        QString error;
        QVERIFY(!sim.memory.load(folder.file("bad.bin"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(sim.memory.nvm, nvm);
        QVERIFY(!sim.memory.load(folder.file("missing.bin")));
    }

    void nmeaStreams_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QStringList>("kinds");
        QTest::newRow("1 GPS") << 1 << QStringList{"GPGGA", "GPRMC"};
        QTest::newRow("2 depth") << 2 << QStringList{"SDDPT", "SDDBT"};
        QTest::newRow("3 water") << 3 << QStringList{"VWVHW", "YXMTW"};
        QTest::newRow("4 wind") << 4 << QStringList{"IIMWV", "HCHDG"};
    }
    void nmeaStreams()
    {
        QFETCH(int, channel);
        QFETCH(QStringList, kinds);
        NmeaStream stream(channel);
        QByteArray text;
        for (int i = 0; i < 3000; ++i)
            text += stream.next();
        QList<QByteArray> lines = text.split('\n');
        lines.removeLast(); // possibly incomplete
        QVERIFY(lines.size() > 20);
        QSet<QString> seen;
        for (QByteArray line : lines) {
            line += '\n';
            QVERIFY2(NmeaStream::valid(line), line.constData());
            QVERIFY(line.size() <= 82);
            seen.insert(QString::fromLatin1(line.mid(1, 5)));
        }
        QCOMPARE(seen, QSet<QString>(kinds.begin(), kinds.end()));
    }
    void nmeaChecksumIsChecked()
    {
        QVERIFY(NmeaStream::valid("$SDDPT,12.3,0.5*" + NmeaStream::sentence("SDDPT,12.3,0.5").mid(16)));
        QVERIFY(!NmeaStream::valid("$SDDPT,12.4,0.5*" + NmeaStream::sentence("SDDPT,12.3,0.5").mid(16)));
        QCOMPARE(NmeaStream::sentence("GPGLL,4916.45,N,12311.12,W,225444,A"),
                 QByteArray("$GPGLL,4916.45,N,12311.12,W,225444,A*31\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
