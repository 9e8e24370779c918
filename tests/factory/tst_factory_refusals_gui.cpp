// Every answer the factory window refuses or that cancels a command: nothing reaches the instrument.
#include "factory/FactoryRig.h"

class TestFactoryRefusals : public QObject
{
    Q_OBJECT
private slots:
    void refusedAnswersSendNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("answers"); // "yes"/"no" confirm, "<cancel>" cancels an input box
        QTest::addColumn<bool>("told");           // a message explains the refusal

        QTest::newRow("display: negative address") << "cmdDisplayRam" << QStringList{"-1"} << true;
        QTest::newRow("display: RAM address beyond 16 bits") << "cmdDisplayRam" << QStringList{"40000"} << true;
        QTest::newRow("display: NVM address 512") << "cmdDisplayIntNvmData" << QStringList{"512"} << true;
        QTest::newRow("display: NVM past its end") << "cmdDisplayIntNvmData" << QStringList{"500", "20"} << true;
        QTest::newRow("display: 257 bytes") << "cmdDisplayXram" << QStringList{"0", "257"} << true;
        QTest::newRow("display: negative count") << "cmdDisplayFlashRom" << QStringList{"0", "-3"} << true;
        QTest::newRow("display: 24C512 address 65536") << "cmdDisplayExtNvmData" << QStringList{"65536"} << true;
        QTest::newRow("display: 24C512 past its end") << "cmdDisplayExtNvmData" << QStringList{"65530", "10"} << true;

        QTest::newRow("NVM byte: No") << "cmdProgByteIntNvm" << QStringList{"no"} << false;
        QTest::newRow("NVM byte: address 512") << "cmdProgByteIntNvm" << QStringList{"yes", "512"} << true;
        QTest::newRow("NVM byte: address cancelled") << "cmdProgByteIntNvm" << QStringList{"yes", "<cancel>"} << false;
        QTest::newRow("NVM byte: data 256") << "cmdProgByteIntNvm" << QStringList{"yes", "5", "256"} << true;
        QTest::newRow("NVM byte: data cancelled")
            << "cmdProgByteIntNvm" << QStringList{"yes", "5", "<cancel>"} << false;
        QTest::newRow("24C512 byte: No") << "cmdProgByte24C512" << QStringList{"no"} << false;
        QTest::newRow("24C512 byte: address 65536") << "cmdProgByte24C512" << QStringList{"yes", "65536"} << true;
        QTest::newRow("24C512 byte: negative data") << "cmdProgByte24C512" << QStringList{"yes", "100", "-1"} << true;
        QTest::newRow("24C512 byte: data cancelled")
            << "cmdProgByte24C512" << QStringList{"yes", "100", "<cancel>"} << false;

        QTest::newRow("copy: source 70000") << "cmdHalvaneCopyCodeToFlash" << QStringList{"70000"} << true;
        QTest::newRow("copy: negative count") << "cmdHalvaneCopyCodeToFlash" << QStringList{"16384", "-1"} << true;
        QTest::newRow("copy: past 65535") << "cmdHalvaneCopyCodeToFlash" << QStringList{"65500", "2"} << true;
        QTest::newRow("copy: source cancelled") << "cmdHalvaneCopyCodeToFlash" << QStringList{"<cancel>"} << false;
        QTest::newRow("copy: count cancelled")
            << "cmdHalvaneCopyCodeToFlash" << QStringList{"16384", "<cancel>"} << false;

        QTest::newRow("new unit: No") << "cmdHalvaneNewBrevo" << QStringList{"no"} << false;
        QTest::newRow("new unit: serial 69999999") << "cmdHalvaneNewBrevo" << QStringList{"yes", "69999999"} << false;
        QTest::newRow("new unit: serial beyond 32 bits")
            << "cmdHalvaneNewBrevo" << QStringList{"yes", "3000000000"} << true;
        QTest::newRow("new unit: product code 4")
            << "cmdHalvaneNewBrevo" << QStringList{"yes", "80315012", "4"} << true;
        QTest::newRow("new unit: product code cancelled")
            << "cmdHalvaneNewBrevo" << QStringList{"yes", "80315012", "<cancel>"} << false;
        QTest::newRow("new unit: version 256")
            << "cmdHalvaneNewBrevo" << QStringList{"yes", "80315012", "3", "256"} << true;
        QTest::newRow("new unit: version cancelled")
            << "cmdHalvaneNewBrevo" << QStringList{"yes", "80315012", "3", "<cancel>"} << false;

        QTest::newRow("serial: No") << "cmdHalvaneNewSN" << QStringList{"no"} << false;
        QTest::newRow("serial: empty") << "cmdHalvaneNewSN" << QStringList{"yes", "<cancel>"} << false;
        QTest::newRow("serial: beyond 32 bits") << "cmdHalvaneNewSN" << QStringList{"yes", "9999999999"} << true;
        QTest::newRow("serial: version 300") << "cmdHalvaneNewSN" << QStringList{"yes", "80315012", "300"} << true;
        QTest::newRow("serial: version cancelled")
            << "cmdHalvaneNewSN" << QStringList{"yes", "80315012", "<cancel>"} << false;

        QTest::newRow("logs: No") << "cmdHalvaneNew24C512" << QStringList{"no"} << false;
        QTest::newRow("curves: No") << "cmdHalvaneUploadCalData" << QStringList{"no"} << false;
        QTest::newRow("NMEA: No") << "cmdHalvaneUploadNmea" << QStringList{"no"} << false;
        QTest::newRow(".COD to 24C512: No") << "cmdSaveFileTo24C512" << QStringList{"no"} << false;
    }
    void refusedAnswersSendNothing()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, answers);
        QFETCH(bool, told);
        SampleFolder samples;
        FactoryRig rig;
        rig.state.systemBlock[8] = 77;
        rig.connectFirst();
        const QByteArray nvm = rig.nvm(0, 512);
        const QByteArray eeprom = rig.eeprom(0, 65536);
        queueAnswers(rig.prompts, answers);
        if (told)
            rig.prompts.ok();
        rig.click(button);
        QVERIFY(rig.prompts.verifyAllUsed());
        if (told) {
            QVERIFY(!rig.prompts.last().text.isEmpty());
            QCOMPARE(rig.prompts.last().title, rig.prompts.records.at(rig.prompts.records.size() - 2).title);
        }
        QCOMPARE(rig.toInstrument(), QByteArray());
        QCOMPARE(rig.nvm(0, 512), nvm);
        QCOMPARE(rig.eeprom(0, 65536), eeprom);
        QCOMPARE(rig.w.lastEnd(), told ? factory::CommandEnd::Refused : factory::CommandEnd::Cancelled);
        // Nothing of the answers was kept either.
        QCOMPARE(int(rig.state.systemBlock[8]), 77);
        QVERIFY(!rig.state.factory.newUnitUploadPending);
        QVERIFY(!rig.state.factory.newSoftwareVersionEntered);
        QCOMPARE(int(rig.state.factory.newSerialBytes[1]), 0);
        QVERIFY(rig.state.transfer.askUser);
        QVERIFY(rig.state.link.connected);
    }
};

QTEST_MAIN(TestFactoryRefusals)
#include "tst_factory_refusals_gui.moc"
