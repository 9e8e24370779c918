// Code images in the factory window: HEX to .COD, flash ROM to .COD, .COD to 24C512, 24C512 to flash ROM.
#include "core/factory/CodeImageFile.h"
#include "factory/FactoryRig.h"

namespace
{

const QString kSamples = QStringLiteral(CORVANE_SOURCE_DIR "/samples/factory/");

factory::CodeImage patternImage(int sectors)
{
    factory::CodeImage image;
    for (int i = 0; i < sectors * 64; ++i)
        image.bytes.append(char(i * 13 + 5));
    return image;
}

// A .COD file of `sectors` patterned sectors in the folder.
QString writeCodeFile(const TempProgramFolder &folder, const QString &name, int sectors)
{
    const QString path = folder.file(name);
    if (!factory::CodeImageFile::write(path, patternImage(sectors)).isEmpty())
        return QString();
    return path;
}

} // namespace

class TestFactoryCodeImages : public QObject
{
    Q_OBJECT
private slots:
    void hexToCodeFile()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        rig.prompts.openFile(kSamples + QStringLiteral("SAMPLE.HEX")).saveFile(folder.file(QStringLiteral("OUT.COD")));
        rig.click(QStringLiteral("cmdReadHex7168"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Read code at location 7182 from HEX file: "));
        QCOMPARE(rig.prompts.records.at(0).text, QStringLiteral("Files (*.HEX)| *.HEX"));
        QCOMPARE(rig.prompts.records.at(1).title, QStringLiteral("Save code to .COD file: "));
        QCOMPARE(rig.prompts.records.at(1).text, QStringLiteral("Files (*.COD)| *.COD"));
        QFile sample(kSamples + QStringLiteral("SAMPLE.COD"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray written = folder.read(QStringLiteral("OUT.COD"));
        QCOMPARE(written, sample.readAll());
        QVERIFY(written.startsWith(" 2            ,Number of 64 byte Sectors\r\n 7168          2 \r\n"));
        QCOMPARE(rig.toInstrument(), QByteArray());
    }

    // A damaged HEX file is refused with its line named, and no .COD file is asked for or written.
    void malformedHexFile()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        QVERIFY(folder.write(QStringLiteral("BAD.HEX"),
                             ":020000040000FA\r\n:101C0000021C10E020223CC3E6C3C2A330C30EB4C3\r\n"
                             ":00000001FF\r\n"));
        rig.prompts.openFile(folder.file(QStringLiteral("BAD.HEX"))).ok();
        rig.click(QStringLiteral("cmdReadHex7168"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QVERIFY2(rig.prompts.last().text.contains(QStringLiteral("BAD.HEX, line 2")),
                 qPrintable(rig.prompts.last().text));
        QCOMPARE(rig.prompts.last().icon, Prompts::Icon::Critical);
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*.COD")}), QStringList());
    }

    void flashToCodeFile()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        for (int i = 0; i < 128; ++i)
            rig.sim.memory.flash[7168 + i] = char(i + 2);
        rig.connectFirst();
        rig.prompts.input(QString()).input(QStringLiteral("2")).saveFile(folder.file(QStringLiteral("FLASH.COD")));
        rig.click(QStringLiteral("cmdSaveFlashCode2File"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(2).title, QStringLiteral("Save Settings to File: "));
        // Each sector taken when two readings agree.
        QCOMPARE(rig.toInstrument(), frame(253, 64, 7168).repeated(2) + frame(253, 64, 7232).repeated(2));
        const QByteArray file = folder.read(QStringLiteral("FLASH.COD"));
        QVERIFY(
            file.startsWith(" 2            , Number of 64 byte Sectors\r\n 7168          2 \r\n 7169          3 \r\n"));
        QVERIFY(file.endsWith(" 7295          129 \r\n"));
        QCOMPARE(file.count('\n'), 1 + 128);
        // The box shows the last sector read, offsets 0..63.
        QVERIFY(rig.w.outputText().startsWith(QStringLiteral(" 0     66\r\n 1     67\r\n")));
        QCOMPARE(rig.w.outputText().count(QStringLiteral("\r\n")), 64);
    }

    // A sector that never arrives leaves no file at all, not half a one.
    void flashReadThatFails()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        rig.connectFirst();
        rig.sim.faults.silent = true;
        rig.prompts.input(QStringLiteral("7168"))
            .input(QStringLiteral("3"))
            .saveFile(folder.file(QStringLiteral("F.COD")));
        rig.prompts.ok();
        rig.click(QStringLiteral("cmdSaveFlashCode2File"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QVERIFY(rig.prompts.last().text.contains(QStringLiteral("No file was written")));
        QVERIFY(!folder.exists(QStringLiteral("F.COD")));
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Failed);
    }

    void codeFileTo24C512()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        const QString path = writeCodeFile(folder, QStringLiteral("THREE.COD"), 3);
        rig.connectFirst();
        rig.prompts.yes().openFile(path).input(QStringLiteral("20096"));
        rig.click(QStringLiteral("cmdSaveFileTo24C512"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Upload ROM code from File to Tessaro 24C512 EEPROM"));
        QCOMPARE(rig.prompts.records.at(1).title, QStringLiteral("Read ROM code from file: "));
        QCOMPARE(rig.prompts.records.at(2).text, QStringLiteral("Enter 24C512 address to save to (16,384 to 32,767)"));

        const factory::CodeImage image = patternImage(3);
        QCOMPARE(rig.toInstrument(), frame(3, 64, 20096) + image.sector(1) + frame(3, 64, 20160) + image.sector(2) +
                                         frame(3, 64, 20224) + image.sector(3));
        QCOMPARE(rig.eeprom(20096, 192), image.bytes);
        QCOMPARE(rig.w.outputText(), QStringLiteral("Writing Sector  1 to  20096\r\nWriting Sector  2 to  20160\r\n"
                                                    "Writing Sector  3 to  20224\r\n\r\nDone\r\n"));
        // Int(16 b / S) for b = 1..3.
        QStringList progress = rig.view.calls.filter(QStringLiteral("setProgress"));
        QCOMPARE(progress, QStringList({"setProgress:0", "setProgress:5", "setProgress:10", "setProgress:16"}));
        QVERIFY(!rig.view.progressVisible);
        QCOMPARE(int(rig.state.factory.codeSectorCount), 3);
        QCOMPARE(int(rig.state.factory.codeTargetAddress), 20096);
    }

    // A sector of which not one byte is confirmed ends the command: the instrument is
    // gone. The message and the output box say which sectors the 24C512 holds.
    void codeFileTo24C512WhenTheInstrumentFallsSilent()
    {
        FactoryRig rig;
        TempProgramFolder folder;
        const QString path = writeCodeFile(folder, QStringLiteral("THREE.COD"), 3);
        rig.connect();
        SimFaults f;
        f.muteAfter = int(rig.toInstrument().size()) + (5 + 64) + 5 + 32; // halfway through sector 2
        rig.sim.setFaults(f);
        rig.prompts.yes().openFile(path).input(QStringLiteral("16384")).ok();
        rig.click(QStringLiteral("cmdSaveFileTo24C512"));
        QVERIFY(rig.prompts.verifyAllUsed());
        const QString held = QStringLiteral(
            "Code image sector 1 was written; code image sector 2 may be incomplete; code image sector 3 was not.");
        QCOMPARE(rig.prompts.last().title, QStringLiteral("Connection lost"));
        QCOMPARE(rig.prompts.last().text.split('\n').value(1), held);
        QVERIFY2(rig.w.outputText().contains(held), qPrintable(rig.w.outputText()));
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Failed);
    }

    void codeFileRefusals_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: a good 3-sector file
        QTest::addColumn<QString>("address"); // "-": not asked
        QTest::addColumn<QString>("message"); // part of the message; empty: ends quietly
        QTest::newRow("16383") << QByteArray() << "16383"
                               << "Error - bad 24C512 address";
        QTest::newRow("above 32767") << QByteArray() << "32768"
                                     << "16,384 to 32,767";
        QTest::newRow("runs past 32767") << QByteArray() << "32640"
                                         << "past 32,767";
        QTest::newRow("over the system backup") << QByteArray() << "20544"
                                                << "system backup";
        QTest::newRow("empty address") << QByteArray() << ""
                                       << "";
        QTest::newRow("short file") << QByteArray(" 3            ,Number of 64 byte Sectors\r\n 7168          2 \r\n")
                                    << "-"
                                    << "BAD.COD";
        QTest::newRow("malformed line") << QByteArray(" 1            ,Number of 64 byte Sectors\r\n 7168   x \r\n")
                                        << "-"
                                        << "BAD.COD, line 2";
    }
    void codeFileRefusals()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, address);
        QFETCH(QString, message);
        FactoryRig rig;
        TempProgramFolder folder;
        QString path = writeCodeFile(folder, QStringLiteral("GOOD.COD"), 3);
        if (!file.isEmpty()) {
            QVERIFY(folder.write(QStringLiteral("BAD.COD"), file));
            path = folder.file(QStringLiteral("BAD.COD"));
        }
        rig.connectFirst();
        rig.prompts.yes().openFile(path);
        if (address != QLatin1String("-"))
            rig.prompts.input(address);
        if (!message.isEmpty())
            rig.prompts.ok();
        rig.click(QStringLiteral("cmdSaveFileTo24C512"));
        QVERIFY(rig.prompts.verifyAllUsed());
        if (!message.isEmpty())
            QVERIFY2(rig.prompts.last().text.contains(message), qPrintable(rig.prompts.last().text));
        QCOMPARE(rig.toInstrument(), QByteArray());
    }

    void copyToFlash_data()
    {
        QTest::addColumn<QString>("sectors");
        QTest::addColumn<int>("countByte");
        QTest::newRow("3 sectors") << "3" << 3;
        QTest::newRow("12 copies 8") << "12" << 8;
        QTest::newRow("0 copies 1") << "0" << 1;
    }
    void copyToFlash()
    {
        QFETCH(QString, sectors);
        QFETCH(int, countByte);
        FactoryRig rig;
        for (int i = 0; i < 1024; ++i)
            rig.sim.memory.eeprom[16384 + i] = char(i * 3);
        rig.state.systemBlock[8] = 77;
        rig.connectFirst();
        rig.prompts.input(QStringLiteral("16384")).input(sectors);
        rig.click(QStringLiteral("cmdHalvaneCopyCodeToFlash"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title,
                 QStringLiteral("Copy program code from 24C512 NVM to flash ROM at 7,168"));
        QCOMPARE(rig.prompts.records.at(1).title, QStringLiteral("Copy how many 64 byte Sectors from 24C512 NVM?"));
        QCOMPARE(rig.toInstrument(), bytes({61, 252, countByte, 64, 0}));
        QCOMPARE(rig.sim.memory.flash.mid(7168, 64 * countByte), rig.eeprom(16384, 64 * countByte));
        QCOMPARE(int(rig.state.systemBlock[8]), 0);
    }
};

QTEST_MAIN(TestFactoryCodeImages)
#include "tst_factory_codeimages_gui.moc"
