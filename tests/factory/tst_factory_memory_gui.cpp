// Memory displays and single-byte programming of the factory window against the simulated instrument.
#include "factory/FactoryRig.h"

#include <QPlainTextEdit>

namespace
{

// " 300     17\r\n": address and value each with a blank before the digits, four blanks between.
QString line(qint64 address, int value)
{
    return QStringLiteral(" %1     %2\r\n").arg(address).arg(value);
}

void fillPatterns(Simulator &sim)
{
    for (int i = 0; i < sim.memory.ram.size(); ++i)
        sim.memory.ram[i] = char(i * 3 + 1);
    for (int i = 0; i < sim.memory.xram.size(); ++i)
        sim.memory.xram[i] = char(i * 5 + 2);
    for (int i = 0; i < sim.memory.flash.size(); ++i)
        sim.memory.flash[i] = char(i * 7 + 3);
    for (int i = 0; i < sim.memory.eeprom.size(); ++i)
        sim.memory.eeprom[i] = char(i * 11 + 4);
}

const QByteArray &memoryOf(const Simulator &sim, const QString &button)
{
    if (button == QLatin1String("cmdDisplayRam"))
        return sim.memory.ram;
    if (button == QLatin1String("cmdDisplayXram"))
        return sim.memory.xram;
    if (button == QLatin1String("cmdDisplayFlashRom"))
        return sim.memory.flash;
    if (button == QLatin1String("cmdDisplayIntNvmData"))
        return sim.memory.nvm;
    return sim.memory.eeprom;
}

} // namespace

class TestFactoryMemory : public QObject
{
    Q_OBJECT
private slots:
    void display_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("addressAnswer");
        QTest::addColumn<QString>("countAnswer");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("addressTitle");
        QTest::newRow("3 bytes of RAM from 300")
            << "cmdDisplayRam"
            << "300"
            << "3" << bytes({61, 7, 3, 1, 44}) << 300 << 3 << "Get Data from Internal RAM";
        QTest::newRow("256 bytes travel as 0")
            << "cmdDisplayRam"
            << "0"
            << "256" << bytes({61, 7, 0, 0, 0}) << 0 << 256 << "Get Data from Internal RAM";
        QTest::newRow("XRAM") << "cmdDisplayXram"
                              << "1000"
                              << "16" << bytes({61, 8, 16, 3, 232}) << 1000 << 16 << "Get Data from Internal XRAM";
        QTest::newRow("flash ROM") << "cmdDisplayFlashRom"
                                   << "7168"
                                   << "64" << bytes({61, 253, 64, 28, 0}) << 7168 << 64 << "Get Data from Flash ROM";
        QTest::newRow("internal NVM") << "cmdDisplayIntNvmData"
                                      << "12"
                                      << "4" << bytes({61, 0, 4, 0, 12}) << 12 << 4 << "Get Data from Internal NVM";
        QTest::newRow("24C512 from 40000")
            << "cmdDisplayExtNvmData"
            << "40000"
            << "2" << bytes({61, 2, 2, 156, 64}) << 40000 << 2 << "Get Data from 24C512 NVM";
        QTest::newRow("empty count: count byte 0, no lines")
            << "cmdDisplayRam"
            << "5"
            << "" << bytes({61, 7, 0, 0, 5}) << 5 << 0 << "Get Data from Internal RAM";
        QTest::newRow("empty address reads 0")
            << "cmdDisplayXram"
            << ""
            << "1" << bytes({61, 8, 1, 0, 0}) << 0 << 1 << "Get Data from Internal XRAM";
    }
    void display()
    {
        QFETCH(QString, button);
        QFETCH(QString, addressAnswer);
        QFETCH(QString, countAnswer);
        QFETCH(QByteArray, sent);
        QFETCH(int, start);
        QFETCH(int, lines);
        QFETCH(QString, addressTitle);
        FactoryRig rig;
        fillPatterns(rig.sim);
        rig.connectFirst();
        rig.prompts.input(addressAnswer).input(countAnswer);
        rig.click(button);
        QVERIFY(rig.prompts.verifyAllUsed());

        QCOMPARE(rig.toInstrument(), lines ? sent + sent : sent); // shown once two readings agree
        const QByteArray &memory = memoryOf(rig.sim, button);
        QString expected;
        for (int i = 0; i < lines; ++i)
            expected += line(start + i, quint8(memory.at((start + i) % memory.size())));
        QCOMPARE(rig.w.outputText(), expected);
        QCOMPARE(rig.outputBox()->toPlainText(), QString(expected).remove(QLatin1Char('\r')));

        const PromptRecord &address = rig.prompts.records.at(0);
        QCOMPARE(address.title, addressTitle);
        QCOMPARE(address.defaultText, QString());
        QCOMPARE(address.twips, std::optional<QPoint>(QPoint(1000, 1000)));
        QCOMPARE(rig.prompts.records.at(1).text, QStringLiteral("Enter number of bytes to get/display (1-256)"));
        QVERIFY(rig.state.link.connected);
    }

    // Bytes that never came are not shown as values.
    void displayOfASilentInstrument()
    {
        FactoryRig rig;
        rig.connectFirst();
        rig.sim.faults.silent = true;
        rig.prompts.input(QStringLiteral("0")).input(QStringLiteral("4")).ok();
        rig.click(QStringLiteral("cmdDisplayRam"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.last().text, QStringLiteral("The instrument sent 0 of the 4 bytes asked for."));
        QCOMPARE(rig.w.outputText(), QString());
    }

    void programInternalNvmByte()
    {
        FactoryRig rig;
        rig.sim.memory.nvm[5] = 17;
        rig.sim.memory.nvm[0] = 99;
        rig.connectFirst();
        rig.prompts.yes().input(QStringLiteral("5")).input(QStringLiteral("200"));
        rig.click(QStringLiteral("cmdProgByteIntNvm"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).text, QStringLiteral("Are you sure?\r\nThis will overwrite a byte in the "
                                                                "Internal NVM!"));
        QCOMPARE(rig.prompts.beeps, 1);
        // Every byte read twice: the new checksum comes from the old value and checksum.
        QCOMPARE(rig.toInstrument(), frame(0, 1, 5).repeated(2) + frame(0, 1, 0).repeated(2) + frame(1, 1, 5) +
                                         bytes({200}) + frame(1, 1, 0) + bytes({186}) + frame(0, 1, 5).repeated(2));
        QCOMPARE(int(quint8(rig.sim.memory.nvm[5])), 200);
        QCOMPARE(int(quint8(rig.sim.memory.nvm[0])), 186); // 99 XOR 17 XOR 200
        QCOMPARE(rig.w.outputText(), QStringLiteral("Old value at  5=   17\r\nOld checksum  5=   99\r\n"
                                                    "New data at  5=   200\r\n"));
    }

    // Without the old value or checksum the new checksum would be wrong: nothing is written.
    void programInternalNvmByteWithoutAnswers()
    {
        FactoryRig rig;
        rig.connectFirst();
        const QByteArray before = rig.nvm(0, 512);
        rig.sim.faults.silent = true;
        rig.prompts.yes().input(QStringLiteral("5")).input(QStringLiteral("200")).ok();
        rig.click(QStringLiteral("cmdProgByteIntNvm"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.toInstrument(), frame(0, 1, 5).repeated(4));
        QCOMPARE(rig.nvm(0, 512), before);
        QCOMPARE(rig.w.lastEnd(), factory::CommandEnd::Failed);
    }

    // The line shows what the memory holds afterwards, not the echo of the written byte.
    void program24C512Byte()
    {
        FactoryRig rig;
        rig.connectFirst();
        SimFaults faults;
        faults.wrongEcho = 7;
        rig.sim.setFaults(faults);
        rig.prompts.yes().input(QStringLiteral("40000")).input(QStringLiteral("77"));
        rig.click(QStringLiteral("cmdProgByte24C512"));
        QVERIFY(rig.prompts.verifyAllUsed());
        QCOMPARE(rig.prompts.records.at(0).title, QStringLiteral("Program a single byte in 24C512 NVM"));
        QCOMPARE(rig.prompts.records.at(1).title, QStringLiteral("Get 24C512 NVM ADdress to program"));
        QCOMPARE(rig.prompts.records.at(2).text, QStringLiteral("Enter data byte to program to 24C512"));
        QCOMPARE(rig.toInstrument(),
                 bytes({61, 13, 1, 229, 5, 123}) + frame(3, 1, 40000) + bytes({77}) + frame(2, 1, 40000).repeated(2));
        QCOMPARE(int(quint8(rig.sim.memory.eeprom[40000])), 77);
        QCOMPARE(int(rig.sim.memory.linkByte), 123);
        QCOMPARE(rig.w.outputText(), QStringLiteral(" 40000     77\r\n"));
    }
};

QTEST_MAIN(TestFactoryMemory)
#include "tst_factory_memory_gui.moc"
