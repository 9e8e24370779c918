// Parts of another configuration taken by category, and the differences from a
// reference as the windows mark them.
#include "core/Defaults.h"
#include "core/DifferenceMarks.h"
#include "core/ImageParts.h"

#include <QSet>
#include <QTest>

namespace
{

ConfigImage defaults()
{
    EditorState s;
    writeDefaultsToRam(s);
    ConfigImage image = ConfigImage::of(s);
    image.system[0] = systemBlockChecksum(image.system);
    for (int n = 1; n <= 16; ++n)
        image.blocks[n][0] = configBlockChecksum(image.blocks[n]);
    return image;
}

// Every byte and every curve point of `image` changed.
ConfigImage everythingOtherThan(const ConfigImage &image)
{
    ConfigImage other = image;
    for (quint8 &byte : other.system)
        byte = quint8(~byte);
    for (auto &block : other.blocks)
        for (quint8 &byte : block)
            byte = quint8(~byte);
    for (auto &curve : other.curves)
        for (auto &point : curve)
            for (float &value : point)
                value += 1.0f;
    return other;
}

} // namespace

class TestImageParts : public QObject
{
    Q_OBJECT
private slots:
    void eachCategoryAlone_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QList<int>>("configurations");
        QTest::addColumn<int>("systemBytes"); // system bytes 1..256 changed
        QTest::addColumn<int>("blockBytes");  // display block bytes 1..127 changed, all blocks
        QTest::addColumn<int>("points");      // curve points changed
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        // What an upload writes of each category.
        QTest::newRow("displays") << 1 << all << 0 << 16 * 127 << 0;
        QTest::newRow("displays 1, 3-5") << 1 << QList<int>{1, 3, 4, 5} << 0 << 4 * 127 << 0;
        QTest::newRow("maintenance-alarm") << 2 << all << 2 << 0 << 0;
        QTest::newRow("units") << 3 << all << 1 << 0 << 0;
        QTest::newRow("sender-curves") << 4 << all << 5 << 0 << 6 * 32;
        QTest::newRow("pulley-ratio") << 5 << all << 1 << 0 << 0;
        QTest::newRow("fuel-tank") << 6 << all << 2 << 0 << 0;
        QTest::newRow("second-tank") << 7 << all << 2 << 0 << 0;
        QTest::newRow("damping") << 8 << all << 9 << 0 << 0;
        QTest::newRow("tacho-sensitivity") << 9 << all << 1 << 0 << 0;
        QTest::newRow("alarm-values") << 10 << all << 100 << 0 << 0;
        QTest::newRow("tod-alarms") << 11 << all << 16 << 0 << 0;
        QTest::newRow("clock") << 12 << all << 0 << 0 << 0;
        QTest::newRow("fine-calibrations") << 13 << all << 23 << 0 << 0;
        QTest::newRow("race-timers") << 14 << all << 1 << 0 << 0;
    }
    // Each category alone takes exactly the fields the field table gives it, whole,
    // and leaves every other bit; the checksums fit the bytes.
    void eachCategoryAlone()
    {
        QFETCH(int, category);
        QFETCH(QList<int>, configurations);
        QFETCH(int, systemBytes);
        QFETCH(int, blockBytes);
        QFETCH(int, points);
        const ConfigImage base = defaults();
        const ConfigImage from = everythingOtherThan(base);
        fields::Parts parts;
        parts.categories[size_t(category)] = true;
        for (int n : configurations)
            parts.configurations[size_t(n)] = true;

        const ConfigImage merged = fields::takeParts(base, from, parts);

        for (const fields::Field &f : fields::table()) {
            if (f.derived)
                continue;
            const bool taken =
                f.category == category && (f.area != fields::Area::Block || configurations.contains(f.index));
            QVERIFY2(!fields::differs(f, merged, taken ? from : base), qPrintable(f.name));
        }
        int system = 0, block = 0, point = 0;
        for (int i = 1; i <= 256; ++i)
            system += merged.system[i] != base.system[i];
        for (int n = 1; n <= 16; ++n) {
            for (int d = 1; d < 128; ++d)
                block += merged.blocks[n][d] != base.blocks[n][d];
            QCOMPARE(merged.blocks[n][0], configBlockChecksum(merged.blocks[n]));
        }
        for (int k = 1; k <= 32; ++k)
            for (int p = 1; p <= 32; ++p)
                point += merged.curves[k][p][2] != base.curves[k][p][2];
        QCOMPARE(system, systemBytes);
        QCOMPARE(block, blockBytes);
        QCOMPARE(point, points);
        QCOMPARE(merged.system[0], systemBlockChecksum(merged.system));
        QCOMPARE(merged.system[6], base.system[6]);
    }

    // The marks read the compare lines: a count per configuration, the reference's
    // value per field by its (unique) name.
    void marksFromReference()
    {
        QSet<QString> names;
        for (const fields::Field &f : fields::table())
            names.insert(f.name);
        QCOMPARE(int(names.size()), int(fields::table().size()));

        const ConfigImage reference = defaults();
        ConfigImage image = reference;
        image.blocks[3][48] = 26;   // digital display 2's source
        image.blocks[3][91] = 0;    // left bar upper limit
        image.blocks[3][0] ^= 0x55; // a checksum is no difference
        image.system[102] = 7;      // damping 2B
        const fields::DifferenceMarks marks(image, reference, fields::Reference::Defaults);
        QCOMPARE(marks.configurationCount(3), 2);
        QCOMPARE(marks.configurationCount(4), 0);
        QCOMPARE(marks.settingsCount(), 1);
        QCOMPARE(marks.referenceText(QStringLiteral("Damping NMEA Channel 2B")), QStringLiteral("Default: 0"));
        QCOMPARE(marks.referenceText(QStringLiteral("Configuration 3 · Digital Display #2 · Display Data from")),
                 QStringLiteral("Default: NMEA 0183 input #4A"));
        QVERIFY(!marks.differs(QStringLiteral("Configuration 4 · Digital Display #2 · Display Data from")));
        QCOMPARE(fields::DifferenceMarks(image, reference, fields::Reference::Instrument)
                     .referenceText(QStringLiteral("Damping NMEA Channel 2B")),
                 QStringLiteral("Instrument: 0"));
    }
};

QTEST_GUILESS_MAIN(TestImageParts)
#include "tst_imageparts.moc"
