// New-unit provisioning in the factory window: modules, serial number, logs and settings, curves, NMEA tables.
#include "core/factory/CalibrationFile.h"
#include "core/factory/CodeImageFile.h"
#include "core/factory/ProgramModules.h"
#include "factory/FactoryRig.h"

#include <cstring>

namespace
{

QByteArray expectedLogBlock(quint8 high, quint8 low)
{
    QByteArray l(128, '\0');
    l[1] = 1;
    l[6] = char(high);
    l[7] = char(low);
    l[0] = l[32] = char(1 ^ high ^ low);
    l[33] = 1;
    l[38] = char(high);
    l[39] = char(low);
    for (int i = 64; i < 128; ++i)
        l[i] = char(255);
    return l;
}

bool sameCurves(const EditorState &a, const EditorState &b)
{
    return std::memcmp(a.calCurve, b.calCurve, sizeof a.calCurve) == 0;
}

} // namespace

class TestFactoryProvisioning : public QObject
{
    Q_OBJECT
private slots:
    void makeNewUnit()
    {
        SampleFolder samples;
        FactoryRig rig;
        // A curve of the user's own, which a new unit must not receive.
        for (int j = 1; j <= 32; ++j)
            rig.state.calCurve[20][j][1] = rig.state.calCurve[20][j][2] = float(j * 3);
        EditorState ordinary;
        ordinary.copyImageFrom(rig.state);
        writeDefaultsToRam(ordinary);
        rig.w.show();
        rig.connectFirst();
        rig.prompts.yes().input(QStringLiteral("80315012")).input(QStringLiteral("3")).input(QStringLiteral("42")).ok();
        rig.click(QStringLiteral("cmdHalvaneNewBrevo"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Upload new data to new Tessaro"));
        QCOMPARE(rig.prompts.records.at(3).title, QStringLiteral("Get new Brevo Firmware # (Sw_Ver)"));
        QCOMPARE(rig.prompts.last().text,
                 QStringLiteral("DONE!\r\nNow load configurations file and program configurations"));

        // The modules in their order, each at its address, then the product code.
        QByteArray stream;
        for (const factory::ProgramModule &m : factory::programModules()) {
            const auto image = factory::CodeImageFile::read(samples.file(m.fileName));
            QVERIFY(image.ok());
            for (int b = 1; b <= image.value.sectorCount(); ++b)
                stream += frame(3, 64, m.address + 64 * (b - 1)) + image.value.sector(b);
            QCOMPARE(rig.eeprom(m.address, image.value.bytes.size()), image.value.bytes);
        }
        stream += frame(3, 1, 7232) + bytes({3});
        QCOMPARE(rig.toInstrument(), stream);
        QCOMPARE(int(rig.sim.productCode()), 3);
        QVERIFY(rig.w.outputText().startsWith(QStringLiteral("Writing Sector  1 to  19072\r\n")));
        QVERIFY(rig.w.outputText().contains(QStringLiteral("Writing Sector  1 to  16384\r\n")));

        // The image is the new-unit defaults, and the main window was told to redraw.
        EditorState newUnit;
        newUnit.factory.newUnitMode = true;
        writeDefaultsToRam(newUnit);
        QVERIFY(!sameCurves(newUnit, ordinary));
        QVERIFY(sameCurves(rig.state, newUnit));
        QCOMPARE(rig.redraws, 1);

        // The serial number waits for the next upload; everything else is back to normal.
        QCOMPARE(QList<int>({rig.state.factory.newSerialBytes[1], rig.state.factory.newSerialBytes[2],
                             rig.state.factory.newSerialBytes[3], rig.state.factory.newSerialBytes[4]}),
                 QList<int>({8, 3, 15, 12}));
        QVERIFY(rig.state.factory.newUnitUploadPending);
        QVERIFY(!rig.state.factory.newUnitMode);
        QVERIFY(rig.state.transfer.askUser);
        QCOMPARE(int(rig.state.instrument.productCode), 3);
        QCOMPARE(int(rig.state.factory.newSoftwareVersion), 42);
        QVERIFY(rig.state.factory.newSoftwareVersionEntered);
        QVERIFY(!rig.w.isVisible());
    }

    // Every module is checked before the first byte goes out.
    void makeNewUnitWithABadModule_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QByteArray>("content"); // empty: the file is missing
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "HiLoEditor.COD" << QByteArray() << "HiLoEditor.COD is missing";
        QTest::newRow("short") << "KeelOffsetEditor.COD"
                               << QByteArray(" 2            ,Number of 64 byte Sectors\r\n 7168          2 \r\n")
                               << "KeelOffsetEditor.COD ends after line 2";
        factory::CodeImage big; // 5 sectors where 4 fit before the next module
        big.bytes = QByteArray(5 * 64, '\1');
        QTest::newRow("too large for its place")
            << "HiLoEditor.COD" << factory::CodeImageFile::format(big) << "would run into CalibrationEditor.COD";
    }
    void makeNewUnitWithABadModule()
    {
        QFETCH(QString, module);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        SampleFolder samples;
        QFile::remove(samples.file(module));
        if (!content.isEmpty())
            QVERIFY(samples.folder.write(module, content));
        FactoryRig rig;
        rig.prompts.ok();
        rig.click(QStringLiteral("cmdHalvaneNewBrevo"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QVERIFY2(rig.prompts.last().text.contains(message), qPrintable(rig.prompts.last().text));
        QCOMPARE(rig.toInstrument(), QByteArray());
        QVERIFY(!rig.state.factory.newUnitUploadPending);
    }

    // A run that did not get through leaves no pending serial number, the flags back to
    // normal, and says how far it got.
    void makeNewUnitInterrupted_data()
    {
        QTest::addColumn<int>("how"); // 0 unplugged, 1 one echo garbled, 2 Cancel in the progress window
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("unplugged in the first module")
            << 0 << "Connection lost"
            << "Program module 1 may be incomplete; program modules 2 to 10 and the product code were not.";
        QTest::newRow("one echo wrong") << 1 << "Make NEW Brevo"
                                        << "The instrument did not acknowledge 1 of the bytes sent to it.";
        QTest::newRow("cancelled") << 2 << "Make NEW Brevo"
                                   << "Cancelled.\r\nProgram module";
        // Silent halfway through the last sector of module 1 (three sectors).
        QTest::newRow("silent at the end of the first module")
            << 3 << "Connection lost"
            << "Program module 1 may be incomplete; program modules 2 to 10 and the product code were not.";
    }
    void makeNewUnitInterrupted()
    {
        QFETCH(int, how);
        QFETCH(QString, title);
        QFETCH(QString, text);
        SampleFolder samples;
        FactoryRig rig;
        rig.connect();
        const int handshake = int(rig.toInstrument().size());
        SimFaults faults;
        if (how == 0)
            faults.disconnectAfter = 100;
        else if (how == 1)
            faults.garbleAt = {500};
        else if (how == 2)
            rig.clock.scheduleIn(3.0, [&rig] { rig.link.requestCancel(); });
        else
            faults.muteAfter = handshake + 2 * (5 + 64) + 5 + 32;
        rig.sim.setFaults(faults);
        rig.prompts.yes().input(QStringLiteral("80315012")).input(QStringLiteral("3")).input(QStringLiteral("42")).ok();
        rig.click(QStringLiteral("cmdHalvaneNewBrevo"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.last().title, title);
        QVERIFY2(rig.prompts.last().text.contains(text), qPrintable(rig.prompts.last().text));
        if (how == 3) // a module with bytes unconfirmed is not "Done"
            QVERIFY2(!rig.w.outputText().contains(QStringLiteral("Done")), qPrintable(rig.w.outputText()));
        QVERIFY(!rig.state.factory.newUnitUploadPending);
        QVERIFY(!rig.state.factory.newUnitMode);
        QVERIFY(rig.state.transfer.askUser);
    }

    void zeroLogs_data()
    {
        QTest::addColumn<int>("productCode");
        QTest::addColumn<int>("byte3");
        QTest::newRow("Lumisk") << 2 << 1;
        QTest::newRow("Corvane") << 3 << 0;
        QTest::newRow("Tessaro") << 1 << 0;
    }
    void zeroLogs()
    {
        QFETCH(int, productCode);
        QFETCH(int, byte3);
        FactoryRig rig;
        rig.sim.setProductCode(quint8(productCode));
        rig.sim.memory.eeprom.replace(0, 256, QByteArray(256, '\0'));
        rig.state.systemBlock[114] = 7;
        rig.state.systemBlock[115] = 8;
        rig.connectFirst();
        const QByteArray before = rig.nvm(0, 256);
        rig.prompts.yes();
        rig.click(QStringLiteral("cmdHalvaneNew24C512"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).text,
                 QStringLiteral("Are you sure?\r\nThis will overwrite the Distance, Fuel Logs and Date-Of-First-Use "
                                "in the Tessaro 24C512!"));

        QCOMPARE(rig.eeprom(0, 128), expectedLogBlock(7, 8));
        QCOMPARE(rig.eeprom(128, 128), QByteArray(128, char(255)));
        const QByteArray after = rig.nvm(0, 256);
        QCOMPARE(int(after[3]), byte3);
        QCOMPARE(QList<int>({after[5], after[6], after[7], quint8(after[17]), after[21], quint8(after[22]), after[114],
                             quint8(after[115])}),
                 QList<int>({1, 1, 5, 255, 3, 232, 4, 176}));
        QCOMPARE(after.mid(12, 4), before.mid(12, 4)); // the serial number stays
        QCOMPARE(after[94], before[94]);
        QCOMPARE(int(xorOf(after)), 0);
        QCOMPARE(rig.toInstrument(), frame(3, 128, 0) + expectedLogBlock(7, 8) + frame(3, 128, 128) +
                                         QByteArray(128, char(255)) + frame(0, 0, 0).repeated(2) + frame(1, 0, 0) +
                                         after);
    }

    void uploadNmeaTables()
    {
        SampleFolder samples;
        FactoryRig rig;
        rig.connectFirst();
        rig.prompts.yes();
        rig.click(QStringLiteral("cmdHalvaneUploadNmea"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Upload display configurations from PC to Tessaro"));
        const QByteArray sent = rig.toInstrument();
        QCOMPARE(sent.size(), 6 * (5 + 128) + 5 + 64);
        for (int g = 1; g <= 6; ++g) {
            const int a = 6400 + 128 * (g - 1);
            QCOMPARE(sent.mid((g - 1) * 133, 5), frame(3, 128, a));
            QCOMPARE(sent.mid((g - 1) * 133 + 5, 128), rig.eeprom(a, 128));
        }
        QCOMPARE(sent.mid(6 * 133, 5), frame(3, 64, 7168));
        QCOMPARE(rig.eeprom(6400, 6), QByteArray("AGAPCC"));
        QCOMPARE(rig.eeprom(6654, 2), QByteArray("--"));
        QCOMPARE(rig.eeprom(6656, 8), QByteArray("AAM\0ALM\0", 8));
        QCOMPARE(rig.eeprom(7168, 2), bytes({1, 1}));
        QCOMPARE(rig.view.progress, 16);
        QVERIFY(!rig.view.progressVisible);
    }

    // Both files are read before anything is asked or sent.
    void uploadNmeaTablesWithABadFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("NMEA table missing") << "NVMNMEAG.DAT";
        QTest::newRow("decimal points missing") << "DECPTSA.DAT";
    }
    void uploadNmeaTablesWithABadFile()
    {
        QFETCH(QString, file);
        SampleFolder samples;
        QVERIFY(QFile::remove(samples.file(file)));
        FactoryRig rig;
        rig.connectFirst();
        rig.prompts.ok();
        rig.click(QStringLiteral("cmdHalvaneUploadNmea"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QVERIFY(rig.prompts.last().text.contains(file));
        QCOMPARE(rig.toInstrument(), QByteArray());
    }

    void uploadCalibrationCurves()
    {
        SampleFolder samples;
        const auto curves = factory::readCalibrationFile(samples.file(QStringLiteral("CALCURVS.DAT")));
        QVERIFY(curves.ok());
        QCOMPARE(curves.value.size(), 3);
        FactoryRig rig;
        rig.connectFirst();
        rig.prompts.yes();
        rig.click(QStringLiteral("cmdHalvaneUploadCalData"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Upload Calibration Curves from PC to Tessaro"));
        QByteArray stream;
        for (const factory::EepromBlock &c : curves.value) {
            stream += frame(3, 128, c.address) + c.bytes;
            QCOMPARE(rig.eeprom(c.address, 128), c.bytes);
        }
        QCOMPARE(rig.toInstrument(), stream);
        QCOMPARE(rig.eeprom(12288, 4), bytes({2, 117, 1, 144}));
        QCOMPARE(rig.view.calls.filter(QStringLiteral("setProgress")),
                 QStringList({"setProgress:0", "setProgress:0", "setProgress:1", "setProgress:1"}));
    }

    // Cancel while the first block goes out: that block is written whole, nothing after it.
    void uploadsStopBetweenBlocksOnCancel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("firstAddress");
        QTest::newRow("calibration curves")
            << "cmdHalvaneUploadCalData"
            << "Calibration curve 1 was written; calibration curves 2 and 3 were not" << -1;
        QTest::newRow("NMEA tables") << "cmdHalvaneUploadNmea"
                                     << "NMEA table block 1 was written; NMEA table blocks 2 to 6 and the decimal "
                                        "points were not"
                                     << 6400;
    }
    void uploadsStopBetweenBlocksOnCancel()
    {
        QFETCH(QString, button);
        QFETCH(QString, told);
        QFETCH(int, firstAddress);
        SampleFolder samples;
        const auto curves = factory::readCalibrationFile(samples.file(QStringLiteral("CALCURVS.DAT")));
        QVERIFY(curves.ok());
        const int address = firstAddress < 0 ? curves.value.at(0).address : firstAddress;
        FactoryRig rig;
        rig.connectFirst();
        rig.prompts.yes();
        rig.prompts.ok();
        rig.clock.scheduleIn(0.1, [&] { rig.link.requestCancel(); });
        rig.click(button);
        QVERIFY(rig.prompts.verifyAllUsed());
        QVERIFY2(rig.prompts.last().text.contains(told), qPrintable(rig.prompts.last().text));
        QCOMPARE(rig.toInstrument(), frame(3, 128, address) + rig.eeprom(address, 128));
        QVERIFY(!rig.view.progressVisible);
    }

    // The instrument falls silent halfway through the second block: that block holds
    // half its bytes, the third nothing. Only wholly confirmed blocks count as written.
    void uploadsSayWhatAnInstrumentFallenSilentHolds_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("told");
        QTest::newRow("calibration curves")
            << "cmdHalvaneUploadCalData"
            << "Calibration curve 1 was written; calibration curve 2 may be incomplete; calibration curve 3 was not.";
        QTest::newRow("NMEA tables") << "cmdHalvaneUploadNmea"
                                     << "NMEA table block 1 was written; NMEA table block 2 may be incomplete; NMEA "
                                        "table blocks 3 to 6 and the decimal points were not.";
    }
    void uploadsSayWhatAnInstrumentFallenSilentHolds()
    {
        QFETCH(QString, button);
        QFETCH(QString, told);
        SampleFolder samples;
        FactoryRig rig;
        rig.connect();
        SimFaults f;
        f.muteAfter = int(rig.toInstrument().size()) + (5 + 128) + 5 + 64;
        rig.sim.setFaults(f);
        rig.prompts.yes().ok();
        rig.click(button);
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.last().title, QStringLiteral("Connection lost"));
        QCOMPARE(rig.prompts.last().text.split('\n').value(1), told);
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Failed);
    }

    void writeNewSerialNumber_data()
    {
        QTest::addColumn<bool>("versionEntered");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("version");
        QTest::newRow("asks for the version when none was entered")
            << false << QStringList{"yes", "81231999", "42"} << 42;
        QTest::newRow("uses the version entered") << true << QStringList{"yes", "81231999"} << 17;
    }
    void writeNewSerialNumber()
    {
        QFETCH(bool, versionEntered);
        QFETCH(QStringList, answers);
        QFETCH(int, version);
        FactoryRig rig;
        rig.state.factory.newSoftwareVersionEntered = versionEntered;
        rig.state.factory.newSoftwareVersion = 17;
        rig.connectFirst();
        const QByteArray before = rig.nvm(0, 256);
        queueAnswers(rig.prompts, answers);
        rig.click(QStringLiteral("cmdHalvaneNewSN"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(1).title, QStringLiteral("Get new Tessaro Serial Number"));
        if (!versionEntered)
            QCOMPARE(rig.prompts.records.at(2).text, QStringLiteral("Enter Brevo Sw_Ver"));

        const QByteArray after = rig.nvm(0, 256);
        QCOMPARE(after.mid(12, 4), bytes({8, 12, 31, 255}));
        QCOMPARE(int(quint8(after[94])), version);
        QCOMPARE(int(quint8(after[255])), 255);
        QCOMPARE(int(xorOf(after)), 0);
        QCOMPARE(after.mid(1, 11), before.mid(1, 11));
        QCOMPARE(rig.toInstrument(), frame(0, 0, 0).repeated(2) + frame(1, 0, 0) + after);
        QCOMPARE(int(rig.state.factory.newSerialBytes[4]), 255);
        QVERIFY(!rig.view.progressVisible);
    }

    // The settings are written back only when two readings agreed: a block that never
    // arrives is not written back as zeros, one garbled on the way not as garbled,
    // even when its garbled bytes happen to keep the checksum matching.
    void writeNewSerialNumberOnlyFromAgreedReadings_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<std::vector<int>>("garbleAt"); // answer bytes garbled, 256 to a reading
        QTest::addColumn<int>("reads");
        QTest::addColumn<QString>("told"); // empty: written
        QTest::newRow("never arrives") << true << std::vector<int>{} << 4
                                       << "did not send its settings (internal NVM 0 to 255) completely";
        QTest::newRow("garbled differently every time")
            << false << std::vector<int>{9, 256 + 10, 512 + 11, 768 + 12} << 4 << "no two readings agreed";
        QTest::newRow("garbled, the checksum matching") << false << std::vector<int>{9, 10} << 3 << QString();
    }
    void writeNewSerialNumberOnlyFromAgreedReadings()
    {
        QFETCH(bool, silent);
        QFETCH(std::vector<int>, garbleAt);
        QFETCH(int, reads);
        QFETCH(QString, told);
        FactoryRig rig;
        rig.state.factory.newSoftwareVersionEntered = true;
        rig.connectFirst();
        const QByteArray before = rig.nvm(0, 512);
        SimFaults f;
        f.silent = silent;
        f.garbleAt = garbleAt;
        f.garbleMask = 0x21;
        rig.sim.setFaults(f);
        rig.prompts.yes().input(QStringLiteral("80315012"));
        if (!told.isEmpty())
            rig.prompts.ok();
        rig.click(QStringLiteral("cmdHalvaneNewSN"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(int(rig.toInstrument().count(frame(0, 0, 0))), reads);
        QVERIFY(!rig.view.progressVisible);
        if (told.isEmpty()) {
            QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Done);
            QCOMPARE(rig.nvm(1, 11), before.mid(1, 11));
            QCOMPARE(rig.nvm(16, 78), before.mid(16, 78)); // up to the software version
            return;
        }
        QVERIFY2(rig.prompts.last().text.contains(told), qPrintable(rig.prompts.last().text));
        QVERIFY(rig.prompts.last().text.contains(QStringLiteral("Its settings were not written")));
        QCOMPARE(rig.nvm(0, 512), before);
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Failed);
    }
};

QTEST_MAIN(TestFactoryProvisioning)
#include "tst_factory_provisioning_gui.moc"
