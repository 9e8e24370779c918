// Serial number split and the blocks provisioning writes: log block, factory settings, new serial number, NVM checksum.
#include "core/factory/SerialNumber.h"
#include "core/factory/SystemBlockUpdates.h"

#include <QTest>

using namespace factory;

Q_DECLARE_METATYPE(factory::SerialBytes)

namespace
{

BlockBytes patterned()
{
    BlockBytes b;
    for (int i = 0; i < 256; ++i)
        b[i] = quint8(i * 7 + 3);
    return b;
}

quint8 xorAll(const BlockBytes &b)
{
    quint8 x = 0;
    for (quint8 v : b)
        x ^= v;
    return x;
}

} // namespace

class TestFactoryBlocks : public QObject
{
    Q_OBJECT
private slots:
    void serialSplit_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<SerialBytes>("bytes");
        QTest::addColumn<bool>("hasMessage");
        QTest::newRow("80315012") << "80315012" << true << SerialBytes{8, 3, 15, 12} << false;
        QTest::newRow("nnn limited to 255") << "81231999" << true << SerialBytes{8, 12, 31, 255} << false;
        QTest::newRow("nnn 255 kept") << "90101255" << true << SerialBytes{9, 1, 1, 255} << false;
        QTest::newRow("lowest accepted") << "70000000" << true << SerialBytes{7, 0, 0, 0} << false;
        QTest::newRow("blanks and text after") << "  80315012 new" << true << SerialBytes{8, 3, 15, 12} << false;
        QTest::newRow("largest 32-bit") << "2147483647" << true << SerialBytes{214, 74, 83, 255} << false;
        QTest::newRow("69,999,999 ends quietly") << "69999999" << false << SerialBytes{} << false;
        QTest::newRow("empty ends quietly") << "" << false << SerialBytes{} << false;
        QTest::newRow("text ends quietly") << "SN80315012" << false << SerialBytes{} << false;
        QTest::newRow("too large for 32 bits") << "2147483648" << false << SerialBytes{} << true;
    }
    void serialSplit()
    {
        QFETCH(QString, answer);
        QFETCH(bool, ok);
        QFETCH(SerialBytes, bytes);
        QFETCH(bool, hasMessage);
        const SerialSplit s = splitSerialNumber(answer);
        QCOMPARE(s.ok, ok);
        QCOMPARE(!s.message.isEmpty(), hasMessage);
        if (ok)
            QCOMPARE(s.bytes, bytes);
    }

    void logBlock_data()
    {
        QTest::addColumn<int>("b114");
        QTest::addColumn<int>("b115");
        QTest::newRow("1200 minutes") << 4 << 176;
        QTest::newRow("off") << 0 << 0;
        QTest::newRow("65535") << 255 << 255;
    }
    void logBlock()
    {
        QFETCH(int, b114);
        QFETCH(int, b115);
        quint8 system[257] = {};
        system[114] = quint8(b114);
        system[115] = quint8(b115);
        const LogBlock l = buildLogBlock(system);
        const QMap<int, int> set{{0, 1 ^ b114 ^ b115},  {1, 1},  {6, b114},  {7, b115},
                                 {32, 1 ^ b114 ^ b115}, {33, 1}, {38, b114}, {39, b115}};
        for (int i = 0; i < 128; ++i) {
            const int expected = set.value(i, i >= 64 ? 255 : 0);
            QVERIFY2(l[i] == expected,
                     qPrintable(QStringLiteral("L[%1] = %2, expected %3").arg(i).arg(l[i]).arg(expected)));
        }
        quint8 check = 0;
        for (int i = 0; i <= 31; ++i)
            check ^= l[i];
        QCOMPARE(check, quint8(0)); // the first record checks out
    }

    void factorySettings_data()
    {
        QTest::addColumn<int>("productCode");
        QTest::addColumn<int>("byte3");
        QTest::newRow("Tessaro") << 1 << 0;
        QTest::newRow("Lumisk") << 2 << 1;
        QTest::newRow("Corvane") << 3 << 0;
        QTest::newRow("unknown") << 0 << 0;
    }
    void factorySettings()
    {
        QFETCH(int, productCode);
        QFETCH(int, byte3);
        const BlockBytes before = patterned();
        BlockBytes b = before;
        applyFactorySettings(b, productCode);
        QCOMPARE(int(b[3]), byte3);
        const QMap<int, int> table{
            {5, 1},    {6, 1},    {7, 5},     {8, 0},   {9, 0},    {10, 0},  {11, 0},   {16, 0},  {17, 255},
            {18, 255}, {19, 255}, {20, 0},    {21, 3},  {22, 232}, {23, 3},  {24, 232}, {25, 10}, {32, 0},
            {45, 50},  {62, 0},   {63, 0},    {66, 5},  {67, 10},  {92, 1},  {93, 244}, {102, 0}, {104, 3},
            {105, 0},  {106, 3},  {107, 100}, {108, 3}, {109, 0},  {110, 0}, {113, 3},  {114, 4}, {115, 176}};
        for (int i = 1; i < 256; ++i) {
            if (i == 3)
                continue;
            const int expected = table.contains(i) ? table.value(i) : before[i];
            QVERIFY2(b[i] == expected, qPrintable(QStringLiteral("byte %1").arg(i)));
        }
        QCOMPARE(xorAll(b), quint8(0)); // byte 0 recomputed
    }

    void newSerialNumber()
    {
        BlockBytes b = patterned();
        applyNewSerialNumber(b, SerialBytes{8, 3, 15, 12}, quint8(42));
        QCOMPARE(b[12], quint8(8));
        QCOMPARE(b[13], quint8(3));
        QCOMPARE(b[14], quint8(15));
        QCOMPARE(b[15], quint8(12));
        QCOMPARE(b[94], quint8(42));
        QCOMPARE(b[255], quint8(255));
        QCOMPARE(xorAll(b), quint8(0));
        QCOMPARE(b[1], patterned()[1]);
    }

    void newSerialNumberWithoutVersionKeepsByte94()
    {
        BlockBytes b = patterned();
        applyNewSerialNumber(b, SerialBytes{8, 3, 15, 12}, std::nullopt);
        QCOMPARE(b[94], patterned()[94]);
        QCOMPARE(xorAll(b), quint8(0));
    }

    void nvmChecksum_data()
    {
        QTest::addColumn<int>("data");
        QTest::addColumn<int>("oldValue");
        QTest::addColumn<int>("oldChecksum");
        QTest::addColumn<int>("newChecksum");
        QTest::newRow("17 -> 200, checksum 99") << 200 << 17 << 99 << 186;
        QTest::newRow("unchanged byte") << 17 << 17 << 99 << 99;
        QTest::newRow("address 0 itself") << 5 << 99 << 99 << 5;
    }
    void nvmChecksum()
    {
        QFETCH(int, data);
        QFETCH(int, oldValue);
        QFETCH(int, oldChecksum);
        QFETCH(int, newChecksum);
        QCOMPARE(int(nvmChecksumUpdate(quint8(data), quint8(oldValue), quint8(oldChecksum))), newChecksum);
    }

    // The update keeps a whole 512-byte memory consistent: XOR of all bytes stays 0.
    void nvmChecksumKeepsMemoryConsistent()
    {
        QByteArray nvm(512, '\0');
        for (int i = 1; i < 512; ++i)
            nvm[i] = char(i * 13);
        quint8 x = 0;
        for (int i = 1; i < 512; ++i)
            x ^= quint8(nvm[i]);
        nvm[0] = char(x);
        const quint8 v = quint8(nvm[300]);
        nvm[0] = char(nvmChecksumUpdate(200, v, quint8(nvm[0])));
        nvm[300] = char(200);
        quint8 all = 0;
        for (char c : nvm)
            all ^= quint8(c);
        QCOMPARE(all, quint8(0));
    }
};

QTEST_GUILESS_MAIN(TestFactoryBlocks)
#include "tst_factoryblocks.moc"
