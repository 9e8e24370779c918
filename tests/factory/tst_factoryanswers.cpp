// The factory prompts' answer checks and the lines of the factory window's output box.
#include "core/factory/FactoryAnswers.h"
#include "core/factory/FactoryOutput.h"
#include "core/factory/MemoryDisplays.h"

#include <QTest>

using namespace factory;

Q_DECLARE_METATYPE(factory::Memory)

namespace
{

enum Outcome { Accept, Refuse, Cancel };

void addAnswerColumns()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<qint64>("value");
}

void verifyChecked(const Checked &c, int outcome, qint64 value)
{
    switch (outcome) {
    case Accept:
        QVERIFY2(c.ok, qPrintable(c.message));
        QCOMPARE(c.value, value);
        break;
    case Refuse:
        QVERIFY(!c.ok);
        QVERIFY(!c.message.isEmpty());
        break;
    case Cancel:
        QVERIFY(!c.ok);
        QVERIFY(c.cancelled());
        break;
    }
}

} // namespace

class TestFactoryAnswers : public QObject
{
    Q_OBJECT
private slots:
    void displayAddress_data()
    {
        QTest::addColumn<Memory>("memory");
        addAnswerColumns();
        QTest::newRow("RAM 300") << Memory::InternalRam << "300" << int(Accept) << qint64(300);
        QTest::newRow("RAM empty reads 0") << Memory::InternalRam << "" << int(Accept) << qint64(0);
        QTest::newRow("RAM 32767") << Memory::InternalRam << "32767" << int(Accept) << qint64(32767);
        QTest::newRow("RAM 32768") << Memory::InternalRam << "32768" << int(Refuse) << qint64(0);
        QTest::newRow("XRAM negative") << Memory::Xram << "-1" << int(Refuse) << qint64(0);
        QTest::newRow("flash 7168") << Memory::FlashRom << "7168" << int(Accept) << qint64(7168);
        QTest::newRow("flash rounds half to even") << Memory::FlashRom << "2.5" << int(Accept) << qint64(2);
        QTest::newRow("NVM 511") << Memory::InternalNvm << "511" << int(Accept) << qint64(511);
        QTest::newRow("NVM 512") << Memory::InternalNvm << "512" << int(Refuse) << qint64(0);
        QTest::newRow("24C512 40000") << Memory::Eeprom24C512 << "40000" << int(Accept) << qint64(40000);
        QTest::newRow("24C512 65535") << Memory::Eeprom24C512 << "65535" << int(Accept) << qint64(65535);
        QTest::newRow("24C512 65536") << Memory::Eeprom24C512 << "65536" << int(Refuse) << qint64(0);
    }
    void displayAddress()
    {
        QFETCH(Memory, memory);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(checkDisplayAddress(memory, answer), outcome, value);
    }

    void displayCount_data()
    {
        QTest::addColumn<Memory>("memory");
        QTest::addColumn<qint64>("start");
        addAnswerColumns();
        QTest::newRow("3 bytes") << Memory::InternalRam << qint64(300) << "3" << int(Accept) << qint64(3);
        QTest::newRow("256") << Memory::InternalRam << qint64(0) << "256" << int(Accept) << qint64(256);
        QTest::newRow("257") << Memory::Xram << qint64(0) << "257" << int(Refuse) << qint64(0);
        QTest::newRow("negative") << Memory::Xram << qint64(0) << "-4" << int(Refuse) << qint64(0);
        QTest::newRow("empty: no lines") << Memory::FlashRom << qint64(0) << "" << int(Accept) << qint64(0);
        QTest::newRow("text: no lines") << Memory::FlashRom << qint64(0) << "all" << int(Accept) << qint64(0);
        QTest::newRow("NVM to the end") << Memory::InternalNvm << qint64(256) << "256" << int(Accept) << qint64(256);
        QTest::newRow("NVM past the end") << Memory::InternalNvm << qint64(400) << "256" << int(Refuse) << qint64(0);
        QTest::newRow("24C512 to the end")
            << Memory::Eeprom24C512 << qint64(65280) << "256" << int(Accept) << qint64(256);
        QTest::newRow("24C512 past the end")
            << Memory::Eeprom24C512 << qint64(65535) << "2" << int(Refuse) << qint64(0);
    }
    void displayCount()
    {
        QFETCH(Memory, memory);
        QFETCH(qint64, start);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(checkDisplayCount(memory, start, answer), outcome, value);
    }

    void countByteOf256IsZero()
    {
        QCOMPARE(countByte(256), 0);
        QCOMPARE(memoryDisplay(Memory::Eeprom24C512).command, 2);
    }

    void programmingAnswers_data()
    {
        QTest::addColumn<int>("which"); // 0 data byte, 1 internal NVM address, 2 24C512 address
        addAnswerColumns();
        QTest::newRow("data 200") << 0 << "200" << int(Accept) << qint64(200);
        QTest::newRow("data 0") << 0 << "0" << int(Accept) << qint64(0);
        QTest::newRow("data 256") << 0 << "256" << int(Refuse) << qint64(0);
        QTest::newRow("data -1") << 0 << "-1" << int(Refuse) << qint64(0);
        QTest::newRow("data cancelled") << 0 << "" << int(Cancel) << qint64(0);
        QTest::newRow("NVM 5") << 1 << "5" << int(Accept) << qint64(5);
        QTest::newRow("NVM 511") << 1 << "511" << int(Accept) << qint64(511);
        QTest::newRow("NVM 512") << 1 << "512" << int(Refuse) << qint64(0);
        QTest::newRow("NVM cancelled") << 1 << "  " << int(Cancel) << qint64(0);
        QTest::newRow("24C512 65535") << 2 << "65535" << int(Accept) << qint64(65535);
        QTest::newRow("24C512 65536") << 2 << "65536" << int(Refuse) << qint64(0);
        QTest::newRow("24C512 cancelled") << 2 << "" << int(Cancel) << qint64(0);
    }
    void programmingAnswers()
    {
        QFETCH(int, which);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        const Checked c = which == 0   ? checkDataByte(answer)
                          : which == 1 ? checkInternalNvmAddress(answer)
                                       : check24C512ByteAddress(answer);
        verifyChecked(c, outcome, value);
    }

    void codeTarget_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("sectors");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("16384") << "16384" << 2 << int(Accept) << "";
        QTest::newRow("20096, 3 sectors") << "20096" << 3 << int(Accept) << "";
        QTest::newRow("16383") << "16383" << 1 << int(Refuse) << "Error - bad 24C512 address";
        QTest::newRow("zero") << "0" << 1 << int(Refuse) << "Error - bad 24C512 address";
        QTest::newRow("text reads 0") << "x" << 1 << int(Refuse) << "Error - bad 24C512 address";
        QTest::newRow("empty") << "" << 1 << int(Cancel) << "";
        QTest::newRow("32767 one sector")
            << "32767" << 1 << int(Refuse)
            << "Error - bad 24C512 address: 1 sector from 32767 would run to 32830, past 32,767.";
        QTest::newRow("last sector fits") << "32704" << 1 << int(Accept) << "";
        QTest::newRow("two sectors from 32704")
            << "32704" << 2 << int(Refuse)
            << "Error - bad 24C512 address: 2 sectors from 32704 would run to 32831, past 32,767.";
        QTest::newRow("32768") << "32768" << 1 << int(Refuse)
                               << "Error - bad 24C512 address: code images are kept at 16,384 to 32,767.";
        QTest::newRow("ends just below the backup") << "20096" << 8 << int(Accept) << "";
        QTest::newRow("runs into the backup") << "20096" << 9 << int(Refuse)
                                              << "Error - bad 24C512 address: 9 sectors from 20096 would overwrite the "
                                                 "system backup at 20,608 to 20,863.";
        QTest::newRow("inside the backup") << "20700" << 1 << int(Refuse)
                                           << "Error - bad 24C512 address: 1 sector from 20700 would overwrite the "
                                              "system backup at 20,608 to 20,863.";
        QTest::newRow("just after the backup") << "20864" << 1 << int(Accept) << "";
    }
    void codeTarget()
    {
        QFETCH(QString, answer);
        QFETCH(int, sectors);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        const Checked c = checkCodeTargetAddress(answer, sectors);
        verifyChecked(c, outcome, answerNumber(answer));
        QCOMPARE(c.message, message);
    }

    void flashRead_data()
    {
        QTest::addColumn<int>("which"); // 0 start address, 1 sectors
        addAnswerColumns();
        QTest::newRow("empty start is 7168") << 0 << "" << int(Accept) << qint64(7168);
        QTest::newRow("start 0") << 0 << "0" << int(Accept) << qint64(0);
        QTest::newRow("start 40000") << 0 << "40000" << int(Refuse) << qint64(0);
        QTest::newRow("start negative") << 0 << "-64" << int(Refuse) << qint64(0);
        QTest::newRow("16 sectors") << 1 << "16" << int(Accept) << qint64(16);
        QTest::newRow("17 sectors") << 1 << "17" << int(Refuse) << qint64(0);
        QTest::newRow("0 sectors") << 1 << "0" << int(Refuse) << qint64(0);
        QTest::newRow("sectors cancelled") << 1 << "" << int(Cancel) << qint64(0);
    }
    void flashRead()
    {
        QFETCH(int, which);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(which == 0 ? checkFlashReadAddress(answer) : checkFlashReadSectors(answer), outcome, value);
    }

    void copyToFlash_data()
    {
        QTest::addColumn<qint64>("source");
        addAnswerColumns();
        QTest::newRow("12 copies 8") << qint64(19072) << "12" << int(Accept) << qint64(8);
        QTest::newRow("8") << qint64(19072) << "8" << int(Accept) << qint64(8);
        QTest::newRow("3") << qint64(19072) << "3" << int(Accept) << qint64(3);
        QTest::newRow("0 copies 1") << qint64(19072) << "0" << int(Accept) << qint64(1);
        QTest::newRow("text reads 0, copies 1") << qint64(19072) << "some" << int(Accept) << qint64(1);
        QTest::newRow("cancelled") << qint64(19072) << "" << int(Cancel) << qint64(0);
        QTest::newRow("negative") << qint64(19072) << "-2" << int(Refuse) << qint64(0);
        QTest::newRow("past the end of the 24C512") << qint64(65500) << "1" << int(Refuse) << qint64(0);
        QTest::newRow("last sector") << qint64(65472) << "1" << int(Accept) << qint64(1);
    }
    void copyToFlash()
    {
        QFETCH(qint64, source);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(checkCopySectorCount(answer, source), outcome, value);
    }

    void copySource_data()
    {
        addAnswerColumns();
        QTest::newRow("19072") << "19072" << int(Accept) << qint64(19072);
        QTest::newRow("65536") << "65536" << int(Refuse) << qint64(0);
        QTest::newRow("cancelled") << "" << int(Cancel) << qint64(0);
    }
    void copySource()
    {
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(checkCopySourceAddress(answer), outcome, value);
    }

    void newUnitAnswers_data()
    {
        QTest::addColumn<int>("which"); // 0 product code, 1 software version
        addAnswerColumns();
        QTest::newRow("Tessaro") << 0 << "1" << int(Accept) << qint64(1);
        QTest::newRow("Corvane") << 0 << "3" << int(Accept) << qint64(3);
        QTest::newRow("product 4") << 0 << "4" << int(Refuse) << qint64(0);
        QTest::newRow("product 0") << 0 << "0" << int(Refuse) << qint64(0);
        QTest::newRow("product cancelled") << 0 << "" << int(Cancel) << qint64(0);
        QTest::newRow("version 12") << 1 << "12" << int(Accept) << qint64(12);
        QTest::newRow("version 256") << 1 << "256" << int(Refuse) << qint64(0);
        QTest::newRow("version cancelled") << 1 << "" << int(Cancel) << qint64(0);
    }
    void newUnitAnswers()
    {
        QFETCH(int, which);
        QFETCH(QString, answer);
        QFETCH(int, outcome);
        QFETCH(qint64, value);
        verifyChecked(which == 0 ? checkProductCode(answer) : checkSoftwareVersion(answer), outcome, value);
    }

    void outputLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("memory line 300/17") << memoryLine(300, 17) << " 300     17\r\n";
        QTest::newRow("24C512 address above 32767") << memoryLine(40000, 0) << " 40000     0\r\n";
        QTest::newRow("three lines") << memoryLines(300, {1, 2, 3}) << " 300     1\r\n 301     2\r\n 302     3\r\n";
        QTest::newRow("no lines") << memoryLines(300, {}) << "";
        QTest::newRow("flash sector offsets") << flashSectorText({9, 8}) << " 0     9\r\n 1     8\r\n";
        QTest::newRow("writing sector") << writingSectorLine(1, 20096) << "Writing Sector  1 to  20096\r\n";
        QTest::newRow("done") << transferDoneText() << "\r\nDone\r\n";
        QTest::newRow("old value") << oldValueLine(5, 17) << "Old value at  5=   17\r\n";
        QTest::newRow("old checksum") << oldChecksumLine(5, 99) << "Old checksum  5=   99\r\n";
        QTest::newRow("new data") << newDataLine(5, 200) << "New data at  5=   200\r\n";
    }
    void outputLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }
};

QTEST_GUILESS_MAIN(TestFactoryAnswers)
#include "tst_factoryanswers.moc"
