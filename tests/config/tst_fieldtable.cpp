// The field table: every bit of the image named once, and one line per changed field.
#include "core/Defaults.h"
#include "core/FieldTable.h"
#include "core/ImageLayout.h"

#include <QTest>

namespace
{

ConfigImage defaults()
{
    EditorState s;
    writeDefaultsToRam(s);
    return ConfigImage::of(s);
}

} // namespace

class TestFieldTable : public QObject
{
    Q_OBJECT
private slots:
    // Each bit of system bytes 0..255 and of display block bytes 0..127, and each
    // curve point, belongs to exactly one field; on the factory defaults every field
    // shows a text and a default image has no differences from itself.
    void everyBitNamedOnce()
    {
        int system[256][8] = {};
        int blocks[17][128][8] = {};
        int points[33][33] = {};
        const ConfigImage image = defaults();
        for (const fields::Field &f : fields::table()) {
            QVERIFY2(!f.text(image).isEmpty(), qPrintable(f.name));
            if (f.area == fields::Area::Port)
                continue; // what the file holds beside the image
            if (f.area == fields::Area::Curve) {
                ++points[f.index][f.offset];
                continue;
            }
            for (int i = f.offset; i < f.offset + f.length; ++i)
                for (int bit = 0; bit < 8; ++bit)
                    if (f.length > 1 || (f.mask >> bit & 1))
                        ++(f.area == fields::Area::System ? system[i][bit] : blocks[f.index][i][bit]);
        }
        for (int i = 0; i < 256; ++i)
            for (int bit = 0; bit < 8; ++bit)
                QVERIFY2(system[i][bit] == 1, qPrintable(QStringLiteral("system byte %1 bit %2").arg(i).arg(bit)));
        for (int n = 1; n <= 16; ++n)
            for (int d = 0; d < 128; ++d)
                for (int bit = 0; bit < 8; ++bit)
                    QVERIFY2(blocks[n][d][bit] == 1, qPrintable(QStringLiteral("block %1 byte %2").arg(n).arg(d)));
        for (int k = 1; k <= 32; ++k)
            for (int p = 1; p <= 32; ++p)
                QCOMPARE(points[k][p], 1);
        QVERIFY(fields::differences(image, image).empty());
    }

    void oneLinePerChangedField_data()
    {
        QTest::addColumn<QString>("where"); // system, block, value (curve value field)
        QTest::addColumn<int>("index");     // block or curve
        QTest::addColumn<int>("offset");    // byte or point
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QStringList>("line"); // group, field, old, new

        auto row = [](const char *name, const char *where, int index, int offset, QList<int> bytes, QStringList line) {
            QTest::newRow(name) << QString::fromLatin1(where) << index << offset << bytes << line;
        };
        row("icon bit", "block", 3, 3, {64 | 32},
            {"Display configuration 3", "Configuration 3 · Icons · Upper SPEED", "Off", "On"});
        row("data source", "block", 3, 48, {26},
            {"Display configuration 3", "Configuration 3 · Digital Display #2 · Display Data from",
             "NMEA 0183 input #4A", "NMEA 0183 input #2B"});
        row("bar limit", "block", 16, 91, {0, 250},
            {"Display configuration 16", "Configuration 16 · Left Bar Graph Display · Upper Bar Limit", "300", "250"});
        row("raw block byte", "block", 2, 17, {3},
            {"Display configuration 2", "Configuration 2 · byte 17", "255", "3"});
        row("alarm limit", "system", 0, 180, {0, 5},
            {"Alarms and limits", "NMEA 0183 input #1A · Low Alarm Limit", "0", "5"});
        row("alarm limit, one decimal", "system", 0, 212, {4, 210},
            {"Alarms and limits", "Data source code 31 · Low Alarm Limit", "0.0", "123.4"});
        row("raw system byte", "system", 0, 140, {9}, {"Alarms and limits", "system byte 140", "0", "9"});
        row("unit bit", "system", 0, 1, {26 & ~8}, {"Units and settings", "Temperature units", "Deg. F", "Deg. C"});
        row("maintenance alarm", "system", 0, 114, {234, 90},
            {"Units and settings", "Engine maintenance alarm", "200.0 hours", "999.9 hours"});
        row("tank", "system", 0, 21, {4, 210}, {"Tanks", "Fuel tank size", "100", "123.4"});
        row("damping", "system", 0, 102, {7}, {"Damping", "Damping NMEA Channel 2B", "0", "7"});
        row("time of day", "system", 0, 52, {7}, {"Time-of-day alarms", "Time-Of-Day Alarm #4 hours", "00", "07"});
        row("nmea", "system", 0, 74, {16}, {"NMEA", "NMEA 0183 input #2A · Talker ID", "SD", "GP"});
        row("sender type", "system", 0, 98, {9},
            {"Sender curves", "Fuel Tank sender", "7:  Linear: USA 10-180 ohm", "9:  User defined fuel sender curve"});
        row("curve point", "value", 6, 5, {1755},
            {"Sender curves", "Sender curve Engine Temp. point 5", "31 ohm, 12 °F", "31 ohm, 175 °F"});
        // Below the grid's precision the stored numbers say what changed.
        row("curve point, raw", "value", 6, 5, {125},
            {"Sender curves", "Sender curve Engine Temp. point 5", "ohms 31, value 129", "ohms 31, value 125"});
    }
    void oneLinePerChangedField()
    {
        QFETCH(QString, where);
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(QList<int>, bytes);
        QFETCH(QStringList, line);
        const ConfigImage before = defaults();
        ConfigImage after = before;
        for (int i = 0; i < bytes.size(); ++i) {
            if (where == QLatin1String("system"))
                after.system[offset + i] = quint8(bytes[i]);
            else if (where == QLatin1String("block"))
                after.blocks[index][offset + i] = quint8(bytes[i]);
            else
                after.curves[index][offset][2] = float(bytes[i]);
        }
        // Checksums and the configuration shown are not differences.
        after.system[0] ^= 0x55;
        after.blocks[5][0] ^= 0x55;
        after.system[6] = 9;

        const std::vector<fields::Line> lines = fields::differences(before, after);
        QCOMPARE(int(lines.size()), 1);
        const fields::Line &l = lines.front();
        QCOMPARE(QStringList({fields::groupName(l.group), l.field, l.oldText, l.newText}), line);
        QCOMPARE(fields::changeName(before, after), line[1]);
    }

    // A file in degrees C compared with an editor in degrees F: the curve points of both
    // sides in the editor's units, whichever side the editor is.
    void curvePointsInTheEditorsUnits()
    {
        const ConfigImage editor = defaults();
        ConfigImage file = editor;
        file.system[layout::kDisplayFlags] &= quint8(~layout::kFahrenheitBit);
        file.curves[6][5][2] = 1755;
        const auto pointLine = [](const std::vector<fields::Line> &lines) {
            for (const fields::Line &l : lines)
                if (l.field == QLatin1String("Sender curve Engine Temp. point 5"))
                    return QStringList({l.oldText, l.newText});
            return QStringList();
        };
        QCOMPARE(pointLine(fields::differences(editor, file)), QStringList({"31 ohm, 12 °F", "31 ohm, 175 °F"}));
        QCOMPARE(pointLine(fields::differences(file, editor, editor)),
                 QStringList({"31 ohm, 175 °F", "31 ohm, 12 °F"}));
    }
};

QTEST_GUILESS_MAIN(TestFieldTable)
#include "tst_fieldtable.moc"
