// Upload, download, backup and restore against the simulated instrument on the virtual clock.
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/EditorState.h"
#include "core/FieldTable.h"
#include "core/Protocol.h"
#include "core/TransferRules.h"
#include "kit/Child.h"
#include "kit/LinkFixture.h"
#include "link/ConfirmedRead.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/Transfers.h"
#include "link/UploadCheck.h"
#include "ui/TransferWarning.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <numeric>
#include <vector>

Q_DECLARE_METATYPE(std::vector<int>)

using transfer::Outcome;

namespace
{

// A complete bench: the link fixture, the warning window and the context.
struct Bench : LinkFixture {
    TransferWarning window{state};
    WarningQuestion question{window, state, clock};
    int redraws = 0;
    InstrumentContext ctx{state, prompts, link, view, [this] { connect(); }, [this] { ++redraws; }};
    transfer::PcClock pc;

    Bench()
    {
        writeDefaultsToRam(state);
        sim.memory = SimMemory::factory(sim.softwareVersion);
        pc.today = [] { return QDate(2011, 6, 14); };
        pc.time = [] { return QTime(13, 45, 10); };
    }

    // Plays the user in the warning window: the boxes to leave checked, then CONTINUE or CANCEL.
    void answerWindow(std::function<void()> play, bool proceed = true)
    {
        clock.scheduleIn(0.3, [this, play, proceed] {
            QVERIFY(window.isVisible());
            if (play)
                play();
            click(proceed ? "cmdWarningContinue" : "cmdWarningCancel");
        });
    }

    void click(const char *button) { child<QPushButton>(window, QLatin1String(button))->click(); }
    QCheckBox *box(const char *name) { return child<QCheckBox>(window, QLatin1String(name)); }
    // The box of category c (1..14), found by its caption as the user finds it.
    QCheckBox *box(int c)
    {
        for (QCheckBox *b : window.findChildren<QCheckBox *>())
            if (b->text() == transfer::categoryCaption(c))
                return b;
        qFatal("no box for category %d", c);
        return nullptr;
    }

    void connectFirst()
    {
        connect();
        QVERIFY(state.link.connected);
        sim.clearLog();
    }

    QByteArray nvm(int from, int count) const { return sim.memory.nvm.mid(from, count); }
    QByteArray eeprom(int from, int count) const { return sim.memory.eeprom.mid(from, count); }
};

QByteArray frame(int code, int count, int address)
{
    return bytes({61, code, count, proto::high(address), proto::low(address)});
}

QByteArray blockBytes(const quint8 *b, int n)
{
    return QByteArray(reinterpret_cast<const char *>(b), n);
}

} // namespace

class TestTransfers : public QObject
{
    Q_OBJECT
private slots:
    // Verify after Upload reads back what was written: a clean instrument passes, one
    // whose memory keeps a bit of display configuration 3 wrong is named. Settings
    // stored with a bit wrong read the same every time, checksum wrong: they are what
    // the instrument holds, compared like the rest, not blamed on the cable.
    void verifyAfterUpload_data()
    {
        QTest::addColumn<int>("weakCell");
        QTest::addColumn<int>("weakSettingsByte");
        QTest::addColumn<QString>("told");
        QTest::newRow("clean") << -1 << -1 << "Verified: 3072 bytes match.";
        QTest::newRow("one bit stored wrong")
            << proto::kConfigBlockBase + 2 * proto::kConfigBlockSize + 28 << -1
            << "Verify found differences: 1 of 3072 bytes read back are not what was sent.\r\nConfiguration 3";
        QTest::newRow("a settings bit stored wrong")
            << -1 << 130
            << "Verify found differences: 1 of 3072 bytes read back are not what was sent.\r\nAlarms and limits · ";
    }
    void verifyAfterUpload()
    {
        QFETCH(int, weakCell);
        QFETCH(int, weakSettingsByte);
        QFETCH(QString, told);
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.weakEepromCell = weakCell;
        f.weakNvmCell = weakSettingsByte;
        b.sim.setFaults(f);
        b.answerWindow({});
        b.prompts.ok();
        transfer::UploadOptions verify;
        verify.verify = true;
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc, verify),
                 weakCell < 0 && weakSettingsByte < 0 ? Outcome::Done : Outcome::Failed);
        QVERIFY(b.prompts.verifyAllUsed());
        QVERIFY2(b.prompts.last().text.startsWith(told), qPrintable(b.prompts.last().text));
        QVERIFY(!b.state.link.connected);
    }

    // After an upload cancelled midway, the comparison lists exactly the display
    // configurations the instrument does not hold as the editor has them.
    void compareWithInstrumentAfterAPartialUpload()
    {
        Bench b;
        b.connectFirst();
        for (int n = 1; n <= 16; ++n)
            b.state.configBlock[n][28] = quint8(40 + n);
        b.answerWindow({});
        b.clock.scheduleIn(6.0, [&] { b.link.requestCancel(); });
        b.prompts.ok();
        Outcome outcome = Outcome::Done;
        QVERIFY(runInstrumentOperation(b.link, b.state, b.prompts, b.view,
                                       [&] { outcome = transfer::upload(b.ctx, b.question, b.pc); }));
        QCOMPARE(outcome, Outcome::Cancelled);
        QSet<int> notHeld;
        for (int n = 1; n <= 16; ++n)
            if (b.eeprom(proto::kConfigBlockBase + 128 * (n - 1), 128) != blockBytes(b.state.configBlock[n], 128))
                notHeld << n;
        QVERIFY(!notHeld.isEmpty() && notHeld.size() < 16);

        ConfigImage instrument;
        QCOMPARE(transfer::readForCompare(b.ctx, instrument), Outcome::Done);
        QSet<int> listed;
        for (const fields::Line &line : fields::differences(ConfigImage::of(b.state), instrument))
            if (line.group < 16)
                listed << line.group + 1;
        QCOMPARE(listed, notHeld);
        QVERIFY(!b.state.link.connected);
    }

    void fullUploadByteStream()
    {
        Bench b;
        b.connectFirst();
        b.state.systemBlock[1] = 0x5A; // units: carried by category 3
        b.state.configBlock[4][28] = 29;
        const QByteArray before = b.nvm(0, 256);
        b.answerWindow({});
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Done);
        QVERIFY(b.prompts.verifyAllUsed());
        QVERIFY(!b.state.link.connected);

        // The block written back: the instrument's, with the chosen categories laid over it.
        QByteArray expected = before;
        expected[11] = char(quint8(before[11]) + 1); // counter
        for (int c : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14})
            for (int i : transfer::categoryBytes(c))
                expected[i] = char(b.state.systemBlock[i]);
        for (int i = 68; i <= 91; ++i)
            expected[i] = char(b.state.systemBlock[i]);
        quint8 raw[256];
        memcpy(raw, expected.constData(), 256);
        expected[0] = char(systemBlockChecksum(raw));
        QCOMPARE(b.nvm(0, 256), expected);

        // On a clean line the settings are read once: exactly the frames of the design.
        QByteArray stream = frame(0, 0, 0).repeated(2) + frame(1, 0, 0) + expected;
        for (int n = 1; n <= 16; ++n) {
            QCOMPARE(int(b.state.configBlock[n][0]), int(configBlockChecksum(b.state.configBlock[n])));
            stream += frame(3, 128, 4096 + 128 * (n - 1)) + blockBytes(b.state.configBlock[n], 128);
            QCOMPARE(b.eeprom(4096 + 128 * (n - 1), 128), blockBytes(b.state.configBlock[n], 128));
        }
        for (int k : transfer::uploadedCurves()) {
            const auto encoded = transfer::encodeCurve(b.state, k);
            stream += frame(3, 128, 12288 + 128 * (k - 1)) + blockBytes(encoded.bytes.data(), 128);
            QCOMPARE(b.eeprom(12288 + 128 * (k - 1), 128), blockBytes(encoded.bytes.data(), 128));
        }
        stream += bytes({61, 12, 0, 13, 45}) + frame(251, 0, 0);
        QCOMPARE(b.toInstrument(), stream);
        QCOMPARE(int(b.sim.memory.clockHours), 13);
        QCOMPARE(int(b.sim.memory.clockMinutes), 45);
        QCOMPARE(b.view.progress, 17);
        QVERIFY(!b.view.progressVisible);
    }

    void allBoxesUncheckedStillWritesTheBlock()
    {
        Bench b;
        b.connectFirst();
        b.sim.memory.nvm[10] = 0;
        b.sim.memory.nvm[11] = char(255);
        b.sim.memory.nvm[17] = b.sim.memory.nvm[18] = b.sim.memory.nvm[19] = char(255);
        b.sim.memory.fixSystemBlockChecksum();
        const QByteArray before = b.nvm(0, 256);
        b.state.systemBlock[70] = 9; // an NMEA selection: always from the PC
        b.answerWindow([&] { b.click("cmdfraWarningClearAll"); });
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Done);
        for (int i = 1; i <= 14; ++i)
            QCOMPARE(int(b.state.transfer.upload[i]), 0);
        const QByteArray after = b.nvm(0, 256);
        QCOMPARE(QList<int>({after[10], after[11]}), QList<int>({1, 0}));
        QCOMPARE(QList<int>({after[17], after[18], after[19]}), QList<int>({11, 6, 14}));
        QCOMPARE(int(after[70]), 9);
        QCOMPARE(after[1], before[1]);
        QCOMPARE(after.mid(128, 100), before.mid(128, 100));
        QCOMPARE(b.toInstrument().right(5), frame(251, 0, 0));
        QCOMPARE(b.toInstrument().size(), 2 * 5 + 5 + 256 + 5); // no 24C512 writes, no clock
    }

    void cancelSendsNothing()
    {
        Bench b;
        b.answerWindow([&] { b.box("chkCDC")->setChecked(false); }, false);
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Cancelled);
        QCOMPARE(b.toInstrument(), QByteArray());
        QCOMPARE(int(b.state.transfer.upload[1]), 0);
    }

    void pendingSerialNumberAndNewUnit()
    {
        Bench b;
        b.connectFirst();
        b.state.transfer.askUser = false;
        b.state.factory.newUnitUploadPending = true;
        b.state.factory.newSerialBytes[1] = 8;
        b.state.factory.newSerialBytes[2] = 12;
        b.state.factory.newSerialBytes[3] = 31;
        b.state.factory.newSerialBytes[4] = 255;
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Done);
        QCOMPARE(b.nvm(12, 4), bytes({8, 12, 31, 255}));
        QCOMPARE(b.state.factory.newUnitUploadPending, false);
        QVERIFY(!b.window.isVisible());
    }

    void unreadableSettingsWriteNothing()
    {
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.badChecksum = true;
        b.sim.setFaults(f);
        const QByteArray nvmBefore = b.sim.memory.nvm;
        b.state.transfer.askUser = false;
        b.prompts.ok();
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Failed);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().text,
                 QString("The instrument's settings could not be read correctly. Nothing was written."));
        QCOMPARE(b.sim.memory.nvm, nvmBefore);
        // Two readings the same: what the instrument holds, and it is refused.
        QCOMPARE(b.toInstrument(), frame(0, 0, 0).repeated(2) + frame(251, 0, 0));
        QVERIFY(!b.state.link.connected);
    }

    void silentInstrumentIsNotTakenForZeros()
    {
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.silent = true;
        b.sim.setFaults(f);
        b.state.transfer.askUser = false;
        b.prompts.ok();
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Failed);
        QVERIFY(!b.toInstrument().contains(frame(1, 0, 0)));
    }

    void unencodableCurveIsRefusedBeforeSending()
    {
        Bench b;
        b.state.transfer.askUser = false;
        b.state.calCurve[19][2][1] = b.state.calCurve[19][1][1];
        b.prompts.ok();
        QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Refused);
        QVERIFY(b.prompts.last().text.startsWith("Sender curve 19 cannot be sent to the instrument:"));
        QCOMPARE(b.toInstrument(), QByteArray());
    }

    // Echoes of the settings block: answers 512.. follow the two readings of 256.
    void unconfirmedBytesAreReported_data()
    {
        QTest::addColumn<std::vector<int>>("garbleAt");
        QTest::addColumn<int>("lateAt");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        const QString notAcknowledged = "The instrument did not acknowledge %1 of the bytes sent to it.";
        // The instrument echoes what it received: another value means the byte may
        // not have been stored as sent.
        QTest::newRow("one wrong echo") << std::vector<int>{522} << -1 << notAcknowledged << 1 << 1;
        // A late echo ends the next byte's wait, and so on to the end of the block.
        QTest::newRow("one late echo") << std::vector<int>{} << 522 << notAcknowledged << 1 << 246;
        std::vector<int> all(256);
        std::iota(all.begin(), all.end(), 512);
        QTest::newRow("no echo right") << all << -1
                                       << QString("The instrument stopped confirming the data sent to it: the data in "
                                                  "the instrument may be incomplete.\n"
                                                  "The settings may be incomplete.\n"
                                                  "Please check data and power connections.")
                                       << 0 << 0;
    }
    void unconfirmedBytesAreReported()
    {
        QFETCH(std::vector<int>, garbleAt);
        QFETCH(int, lateAt);
        QFETCH(QString, message);
        QFETCH(int, least);
        QFETCH(int, most);
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.garbleAt = garbleAt;
        f.garbleMask = 0xFF;
        f.lateAt = lateAt;
        f.extraDelay = 0.3;
        b.sim.setFaults(f);
        b.state.transfer.askUser = false;
        b.state.transfer.upload[1] = 0;
        b.state.transfer.upload[4] = 0;
        b.prompts.ok();
        runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] { transfer::upload(b.ctx, b.question, b.pc); });
        QVERIFY(b.prompts.verifyAllUsed());
        const QString text = b.prompts.last().text;
        if (least == 0) {
            QCOMPARE(text, message);
            QCOMPARE(b.toInstrument().count(frame(251, 0, 0)), 0); // nothing more was sent
            return;
        }
        const QRegularExpression re("did not acknowledge (\\d+) of");
        const auto m = re.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        const int reported = m.captured(1).toInt();
        QVERIFY(text.startsWith(message.arg(reported)));
        QVERIFY2(reported >= least && reported <= most, qPrintable(text));
        QCOMPARE(b.toInstrument().right(5), frame(251, 0, 0));
    }

    // Two bytes garbled with the same bits leave the XOR checksum matching, on a line
    // that showed no trouble before; a byte that comes too late leaves the rest of the
    // answer for the next reading.
    void settingsAreTakenOnlyWhenTwoReadingsAgree_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addColumn<std::vector<int>>("garbleAt");
        QTest::addColumn<int>("lateAt");
        QTest::addColumn<int>("reads");
        QTest::newRow("upload, garbled byte") << true << std::vector<int>{9} << -1 << 3;
        QTest::newRow("download, garbled byte") << false << std::vector<int>{9} << -1 << 3;
        QTest::newRow("upload, two bytes garbled alike") << true << std::vector<int>{66, 67} << -1 << 3;
        QTest::newRow("download, two bytes garbled alike") << false << std::vector<int>{66, 67} << -1 << 3;
        QTest::newRow("upload, late tail") << true << std::vector<int>{} << 100 << 4;
        QTest::newRow("download, late tail") << false << std::vector<int>{} << 100 << 4;
    }
    void settingsAreTakenOnlyWhenTwoReadingsAgree()
    {
        QFETCH(bool, upload);
        QFETCH(std::vector<int>, garbleAt);
        QFETCH(int, lateAt);
        Bench b;
        b.connectFirst();
        b.sim.memory.nvm[5] = 17;
        b.sim.memory.nvm[9] = 99;
        b.sim.memory.nvm[66] = 42;
        b.sim.memory.fixSystemBlockChecksum();
        SimFaults f;
        f.garbleAt = garbleAt;
        f.garbleMask = 0x21;
        f.lateAt = lateAt;
        f.extraDelay = 1.2; // past the 1 s wait for the answer
        b.sim.setFaults(f);
        Outcome o;
        if (upload) {
            b.state.transfer.askUser = false;
            for (int i = 1; i <= 14; ++i)
                b.state.transfer.upload[i] = 0;
            o = transfer::upload(b.ctx, b.question, b.pc);
        } else {
            b.answerWindow([&] {
                b.click("cmdfraWarningClearAll");
                b.box("chkSendReceiveRaceTimers")->setChecked(true);
            });
            o = transfer::download(b.ctx, b.question);
        }
        QCOMPARE(o, Outcome::Done);
        QVERIFY(b.prompts.verifyAllUsed());
        QTEST(int(b.toInstrument().count(frame(0, 0, 0))), "reads");
        if (upload) {
            QCOMPARE(int(b.sim.memory.nvm[66]), 42);
            QCOMPARE(int(b.sim.memory.nvm[9]), 99);
            QCOMPARE(b.sim.memory.systemBlockChecksum(), quint8(b.sim.memory.nvm[0]));
        } else {
            QCOMPARE(int(b.state.systemBlock[66]), 42);
        }
    }

    // A sector carries no checksum: each is taken only when two readings agree.
    void copiesTakeASectorWhenTwoReadingsAgree_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<int>("garbleAt"); // answer index of a sector byte garbled, or -1
        QTest::addColumn<int>("lateAt");   // answer index of a sector byte made late, or -1
        QTest::addColumn<int>("reads");    // readings of the third sector, 0: at least three
        // Backup: the settings read twice (512 answers), four sector writes (256 echoes);
        // restore: the four backed-up settings sectors read twice (512) and written
        // (256). Then per sector two readings and 64 echoes.
        const int third = 768 + 2 * 192;
        QTest::newRow("backup, clean") << true << -1 << -1 << 2;
        QTest::newRow("backup, garbled byte") << true << third + 10 << -1 << 3;
        QTest::newRow("backup, late byte") << true << -1 << third + 10 << 0;
        QTest::newRow("restore, garbled byte") << false << third + 10 << -1 << 3;
        QTest::newRow("restore, late byte") << false << -1 << third + 10 << 0;
    }
    void copiesTakeASectorWhenTwoReadingsAgree()
    {
        QFETCH(bool, backup);
        QFETCH(int, garbleAt);
        QFETCH(int, lateAt);
        QFETCH(int, reads);
        Bench b;
        b.connectFirst();
        for (int i = 0; i < 6144; ++i) {
            b.sim.memory.eeprom[i] = char((i * 7) & 0xFF);
            b.sim.memory.eeprom[32768 + i] = char((i * 13) & 0xFF);
        }
        for (int i = 0; i < 256; ++i)
            b.sim.memory.eeprom[20608 + i] = char(i);
        const QByteArray nvm = b.nvm(0, 256);
        const QByteArray low = b.eeprom(0, 6144);
        const QByteArray backupNvm = b.eeprom(20608, 256);
        const QByteArray backupLow = b.eeprom(32768, 6144);

        const int readAddress = backup ? 128 : 32768 + 128;
        SimFaults f;
        if (garbleAt >= 0)
            f.garbleAt.push_back(garbleAt);
        f.lateAt = lateAt;
        f.extraDelay = 0.3; // past the 0.1 s wait for a sector
        b.sim.setFaults(f);
        QCOMPARE(backup ? transfer::createBackup(b.ctx) : transfer::restoreBackup(b.ctx), Outcome::Done);
        QVERIFY(b.prompts.verifyAllUsed());
        const int readings = int(b.toInstrument().count(frame(2, 64, readAddress)));
        if (reads)
            QCOMPARE(readings, reads);
        else
            QVERIFY(readings >= 3);
        if (backup) {
            QCOMPARE(b.eeprom(20608, 256), nvm);
            QCOMPARE(b.eeprom(32768, 6144), low);
        } else {
            QCOMPARE(b.nvm(0, 256), backupNvm);
            QCOMPARE(b.eeprom(0, 6144), backupLow);
        }
    }

    // Power lost mid-way, the adapter still plugged in: no echo comes any more.
    void interruptedUploadSaysWhatWasWritten_data()
    {
        QTest::addColumn<bool>("unplug"); // the port goes away, or the instrument falls silent
        QTest::addColumn<int>("after");   // bytes after the handshake
        QTest::addColumn<QString>("written");
        const int settings = 2 * 5 + 5 + 256;
        // Block 1 keeps 10 of its bytes and counts as incomplete; block 2's frame went
        // out, but not one of its bytes was taken.
        QTest::newRow("silent ten bytes into display block 1")
            << false << settings + 5 + 10
            << "The settings were written; display configuration 1 may be incomplete; display configurations 2 to 16 "
               "and the sender curves were not.";
        QTest::newRow("unplugged in block 6")
            << true << settings + 5 * 133 + 20
            << "The settings and display configurations 1 to 5 were written; display configuration 6 may be "
               "incomplete; display configurations 7 to 16 and the sender curves were not.";
        QTest::newRow("unplugged in the second curve")
            << true << settings + 16 * 133 + 133 + 40
            << "The settings, display configurations 1 to 16 and sender curve 6 were written; sender curve 9 may be "
               "incomplete; sender curves 16, 19, 22 and 25 were not.";
        QTest::newRow("unplugged between two blocks")
            << true << settings + 3 * 133 + 5
            << "The settings and display configurations 1 to 3 were written; display configurations 4 to 16 and the "
               "sender curves were not.";
    }
    void interruptedUploadSaysWhatWasWritten()
    {
        QFETCH(bool, unplug);
        QFETCH(int, after);
        QFETCH(QString, written);
        Bench b;
        b.connect();
        const int handshake = int(b.toInstrument().size());
        b.state.transfer.askUser = false;
        SimFaults f;
        (unplug ? f.disconnectAfter : f.muteAfter) = handshake + after;
        b.sim.setFaults(f);
        const double start = b.clock.now();
        b.prompts.ok();
        QVERIFY(!runInstrumentOperation(b.link, b.state, b.prompts, b.view,
                                        [&] { transfer::upload(b.ctx, b.question, b.pc); }));
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().text.split('\n').value(1), written);
        QVERIFY(!b.state.link.connected);
        QVERIFY(!b.view.progressVisible);
        QVERIFY(b.clock.now() - start < 60);
    }

    void restoreNeedsAValidBackup_data()
    {
        QTest::addColumn<int>("fill"); // the backed-up settings: every byte this value, or -1 a wrong checksum
        QTest::newRow("never backed up (erased)") << 255;
        QTest::newRow("cleared") << 0;
        QTest::newRow("wrong checksum") << -1;
    }
    void restoreNeedsAValidBackup()
    {
        QFETCH(int, fill);
        Bench b;
        b.connectFirst();
        for (int i = 0; i < 256; ++i)
            b.sim.memory.eeprom[20608 + i] = char(fill >= 0 ? fill : i == 0 ? 0x11 : 0x22);
        const QByteArray nvm = b.nvm(0, 256);
        const QByteArray low = b.eeprom(0, 6144);
        b.prompts.ok();
        // Nothing was written: a refusal, not an incomplete transfer.
        QCOMPARE(transfer::restoreBackup(b.ctx), Outcome::Refused);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().text, QString("The instrument holds no valid backup. Nothing was restored."));
        QCOMPARE(b.nvm(0, 256), nvm);
        QCOMPARE(b.eeprom(0, 6144), low);
        QVERIFY(b.toInstrument().endsWith(frame(255, 0, 0))); // command mode left as a restore does
    }

    void backupKeepsTheOldOneWhenTheSettingsReadDamaged()
    {
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.badChecksum = true;
        b.sim.setFaults(f);
        const QByteArray before = b.eeprom(0, 65536);
        b.prompts.ok();
        QCOMPARE(transfer::createBackup(b.ctx), Outcome::Failed);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().text, QString("The instrument's settings read back damaged (wrong checksum).\r\n"
                                                "The backup was not changed."));
        QCOMPARE(b.eeprom(0, 65536), before);
        QVERIFY(!b.toInstrument().contains(frame(3, 64, 20608)));
        QCOMPARE(b.toInstrument().right(5), frame(255, 0, 0));
    }

    // The connection reads the counter of new configurations unchecked; a confirmed
    // reading of the whole settings block puts the true one in its place.
    void confirmedSettingsCorrectTheCounter_data()
    {
        QTest::addColumn<int>("operation"); // 0 upload, 1 download, 2 backup
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("count");
        QTest::newRow("upload") << 0 << 1 << 7 << 263;
        QTest::newRow("download") << 1 << 1 << 7 << 263;
        QTest::newRow("backup") << 2 << 1 << 7 << 263;
        QTest::newRow("download, erased counter") << 1 << 255 << 255 << 1;
    }
    void confirmedSettingsCorrectTheCounter()
    {
        QFETCH(int, operation);
        QFETCH(int, high);
        QFETCH(int, low);
        QFETCH(int, count);
        Bench b;
        b.sim.memory.nvm[10] = char(high);
        b.sim.memory.nvm[11] = char(low);
        b.sim.memory.fixSystemBlockChecksum();
        b.connectFirst();
        b.state.systemBlock[10] = 77; // as a garbled answer would have left it
        b.state.systemBlock[11] = 78;
        b.state.transfer.askUser = false;
        if (operation == 0)
            QCOMPARE(transfer::upload(b.ctx, b.question, b.pc), Outcome::Done);
        else if (operation == 1) {
            b.answerWindow({});
            QCOMPARE(transfer::download(b.ctx, b.question), Outcome::Done);
        } else
            QCOMPARE(transfer::createBackup(b.ctx), Outcome::Done);
        QCOMPARE(b.state.systemBlock[10] * 256 + b.state.systemBlock[11], count);
        QCOMPARE(b.view.newConfigCount, count);
    }

    void downloadCopiesOnlyTheChosenCategories_data()
    {
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<QList<int>>("changed");
        QTest::newRow("race timers") << QList<int>{14} << QList<int>{66};
        QTest::newRow("damping") << QList<int>{8} << QList<int>{104, 106, 107, 108, 113};
        QTest::newRow("tacho") << QList<int>{9} << QList<int>{2};
    }
    void downloadCopiesOnlyTheChosenCategories()
    {
        QFETCH(QList<int>, checked);
        QFETCH(QList<int>, changed);
        Bench b;
        b.connectFirst();
        EditorState before;
        before.copyImageFrom(b.state);
        b.answerWindow([&] {
            b.click("cmdfraWarningClearAll");
            for (int c : checked)
                b.box(c)->setChecked(true);
        });
        QCOMPARE(transfer::download(b.ctx, b.question), Outcome::Done);
        QCOMPARE(b.redraws, 1);
        QVERIFY(!b.state.link.connected);
        for (int i = 0; i <= 256; ++i) {
            const bool expectChange = changed.contains(i);
            if (expectChange)
                QCOMPARE(int(b.state.systemBlock[i]), int(quint8(b.sim.memory.nvm[i])));
            else
                QVERIFY2(b.state.systemBlock[i] == before.systemBlock[i], qPrintable(QString::number(i)));
        }
        QCOMPARE(b.toInstrument(), frame(0, 0, 0).repeated(2) + frame(251, 0, 0));
    }

    void downloadWindowSetChecksOnlyTheSix()
    {
        Bench b;
        b.answerWindow(
            [&] {
                b.click("cmdfraWarningClearAll");
                b.click("cmdfraWarningSetAll");
                for (int i = 1; i <= 14; ++i)
                    QCOMPARE(b.box(i)->isChecked(), transfer::isDownloadable(i));
                for (int i : {1, 7, 12})
                    QVERIFY(!b.box(i)->isEnabled());
            },
            false);
        QCOMPARE(transfer::download(b.ctx, b.question), Outcome::Cancelled);
        QCOMPARE(b.window.windowTitle(), QString("WARNING . . . Download data from Corvane to PC.    Are you sure?"));
        QCOMPARE(int(b.state.transfer.download[1]), 0);
        QCOMPARE(int(b.state.transfer.download[13]), 1);
    }

    void failedDownloadChangesNothing_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::newRow("nothing arrives") << true;
        QTest::newRow("wrong checksum") << false;
    }
    void failedDownloadChangesNothing()
    {
        QFETCH(bool, silent);
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.silent = silent;
        f.badChecksum = !silent;
        b.sim.setFaults(f);
        EditorState before;
        before.copyImageFrom(b.state);
        b.answerWindow({});
        b.prompts.ok();
        QCOMPARE(transfer::download(b.ctx, b.question), Outcome::Failed);
        QVERIFY(b.prompts.last().text.contains("Nothing was changed."));
        QVERIFY(memcmp(before.systemBlock, b.state.systemBlock, sizeof before.systemBlock) == 0);
        QCOMPARE(b.redraws, 0);
        QVERIFY(!b.state.link.connected);
    }

    // Cancel between whole blocks: every block or sector in the instrument is wholly
    // old or wholly new, the closing bytes go out, and the message counts what was written.
    void cancelStopsBetweenWholeBlocks_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<double>("cancelAt");
        QTest::newRow("upload") << "upload" << 8.0;
        QTest::newRow("backup") << "backup" << 20.0;
        QTest::newRow("restore") << "restore" << 20.0;
    }
    void cancelStopsBetweenWholeBlocks()
    {
        QFETCH(QString, op);
        QFETCH(double, cancelAt);
        Bench b;
        b.connectFirst();
        b.state.transfer.askUser = false;
        for (int i = 0; i < 6144; ++i)
            b.sim.memory.eeprom[i] = char((i * 7) & 0xFF);
        for (int i = 0; i < 6144; ++i)
            b.sim.memory.eeprom[32768 + i] = char((i * 13) & 0xFF);
        for (int n = 1; n <= 16; ++n)
            for (int i = 1; i < 128; ++i)
                b.state.configBlock[n][i] = quint8(n + i);
        // What each area holds before, and what the operation would put there.
        const int area = op == "upload" ? 4096 : op == "backup" ? 32768 : 0;
        const int unit = op == "upload" ? 128 : 64;
        const int size = op == "upload" ? 2048 : 6144;
        b.sim.memory.eeprom.replace(20608, 256, b.nvm(0, 256)); // a valid backup of the settings
        const QByteArray old = b.eeprom(area, size);
        QByteArray fresh;
        if (op == "upload") {
            for (int n = 1; n <= 16; ++n) {
                QByteArray block(reinterpret_cast<const char *>(b.state.configBlock[n]), 128);
                block[0] = char(configBlockChecksum(b.state.configBlock[n]));
                fresh += block;
            }
        } else {
            fresh = b.eeprom(op == "backup" ? 0 : 32768, size);
        }
        b.clock.scheduleIn(cancelAt, [&] { b.link.requestCancel(); });
        b.prompts.ok();
        Outcome outcome = Outcome::Done;
        QVERIFY(runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] {
            outcome = op == "upload"   ? transfer::upload(b.ctx, b.question, b.pc)
                      : op == "backup" ? transfer::createBackup(b.ctx)
                                       : transfer::restoreBackup(b.ctx);
        }));
        QCOMPARE(outcome, Outcome::Cancelled);
        QVERIFY(b.prompts.verifyAllUsed());
        int written = 0;
        for (int k = 0; k < size / unit; ++k) {
            const QByteArray now = b.eeprom(area + unit * k, unit);
            const bool isNew = now == fresh.mid(unit * k, unit);
            QVERIFY2(isNew || now == old.mid(unit * k, unit), qPrintable(QString::number(k)));
            QVERIFY(!isNew || written == k); // in order, none skipped
            written += isNew ? 1 : 0;
        }
        QVERIFY2(written > 1 && written < size / unit, qPrintable(QString::number(written)));
        const QString text = b.prompts.last().text;
        if (op == "upload")
            QVERIFY2(text.contains(QString("display configurations 1 to %1 were written").arg(written)),
                     qPrintable(text));
        else if (op == "restore")
            QVERIFY2(text.contains(QString("configuration memory sectors 1 to %1 were written").arg(written)),
                     qPrintable(text));
        else
            QVERIFY2(text.contains(QString("after %1 of 96").arg(written)), qPrintable(text));
        QVERIFY(!b.state.link.connected);
        QVERIFY(!b.view.progressVisible);
        QVERIFY(b.toInstrument().endsWith(op == "upload" ? frame(251, 0, 0) : frame(255, 0, 0)));
    }

    void backupThenRestoreLeavesTheMemories()
    {
        Bench b;
        for (int i = 0; i < 6144; ++i)
            b.sim.memory.eeprom[i] = char((i * 7) & 0xFF);
        const QByteArray nvm = b.nvm(0, 256);
        const QByteArray low = b.eeprom(0, 6144);
        QCOMPARE(transfer::createBackup(b.ctx), Outcome::Done);
        QCOMPARE(b.eeprom(20608, 256), nvm);
        QCOMPARE(b.eeprom(32768, 6144), low);
        QCOMPARE(b.sim.memory.linkByte, quint8(0));
        // Damage the originals, then restore them.
        for (int i = 0; i < 6144; ++i)
            b.sim.memory.eeprom[i] = 0;
        for (int i = 0; i < 256; ++i)
            b.sim.memory.nvm[i] = char(0xAA);
        b.sim.clearLog();
        QCOMPARE(transfer::restoreBackup(b.ctx), Outcome::Done);
        QCOMPARE(b.nvm(0, 256), nvm);
        QCOMPARE(b.eeprom(0, 6144), low);
        QCOMPARE(b.view.progressMaximum, 17);
        QVERIFY(b.view.calls.contains("setProgressMaximum:100"));
        // Internal memory is written in four sectors in address order.
        const QByteArray sent = b.toInstrument();
        int at = 0;
        for (int address : {0, 64, 128, 192}) {
            const int found = int(sent.indexOf(frame(1, 64, address), at));
            QVERIFY2(found >= at, qPrintable(QString::number(address)));
            at = found + 1;
        }
        QCOMPARE(sent.right(5), frame(255, 0, 0));
        QVERIFY(!b.state.link.connected);
        QCOMPARE(b.view.connectedLabel, QString("Not connected to Tessaro"));
    }

    void backupStopsOnASectorThatNeverArrives()
    {
        Bench b;
        b.connectFirst();
        SimFaults f;
        f.dropProbability = 1.0; // every answer is lost on the way
        b.sim.setFaults(f);
        const QByteArray backupBefore = b.eeprom(32768, 6144);
        b.prompts.ok();
        const Outcome o = transfer::createBackup(b.ctx);
        QVERIFY(o == Outcome::Failed);
        QVERIFY(b.prompts.verifyAllUsed());
        QVERIFY(b.prompts.last().text.contains("The copy is incomplete"));
        QVERIFY(b.prompts.last().text.contains("its settings"));
        QCOMPARE(b.toInstrument().right(5), frame(255, 0, 0));
        QCOMPARE(b.eeprom(32768, 6144), backupBefore); // nothing invented was written
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers_gui.moc"
