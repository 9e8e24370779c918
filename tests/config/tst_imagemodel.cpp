// The image model: each setter writes its bytes and nothing else, keeps the block's
// checksum, and tells of a change once, and only of a real one.
#include "core/Defaults.h"
#include "core/ImageModel.h"

#include <QSignalSpy>
#include <QTest>
#include <cstring>
#include <functional>

namespace
{

using layout::NmeaPart;
using Limit = ImageModel::Limit;
using senderlists::SenderList;

constexpr int kConfig = 5; // the display configuration the block cases write

enum class Heard { Nothing, System, Configuration, Curves };

// A value the case leaves in the image: a system byte, a byte of configuration
// kConfig, or a curve point's ohms or value.
struct Written {
    enum Area { System, Block, Ohms, Value } area;
    int at;    // byte, or curve
    int point; // curve point
    double value;
};

struct Case {
    const char *name;
    std::function<void(ImageModel &)> set;
    Heard heard;
    std::vector<Written> written;
    std::function<double(const ImageModel &)> read; // reads back what `set` wrote
    double readBack;
};

Written sys(int byte, int value)
{
    return {Written::System, byte, 0, double(value)};
}
Written blk(int byte, int value)
{
    return {Written::Block, byte, 0, double(value)};
}

// Each case starts from the factory defaults (their checksum bytes are 0, not the XOR).
// clang-format off
const std::vector<Case> &cases()
{
    static const std::vector<Case> table{
        {"fuel tank", [](ImageModel &m) { m.setFuelTankSize(12345); }, Heard::System, {sys(21, 48), sys(22, 57)},
         [](const ImageModel &m) { return m.fuelTankSize(); }, 12345},
        {"second tank", [](ImageModel &m) { m.setSecondTankSize(1); }, Heard::System, {sys(23, 0), sys(24, 1)},
         [](const ImageModel &m) { return m.secondTankSize(); }, 1},
        {"maintenance alarm", [](ImageModel &m) { m.setMaintenanceAlarm(600); }, Heard::System,
         {sys(114, 2), sys(115, 88)}, [](const ImageModel &m) { return m.maintenanceAlarm(); }, 600},
        {"damping 2B", [](ImageModel &m) { m.setDamping(1, 7); }, Heard::System, {sys(102, 7)},
         [](const ImageModel &m) { return m.damping(1); }, 7},
        {"damping 3B", [](ImageModel &m) { m.setDamping(3, 250); }, Heard::System, {sys(110, 250)},
         [](const ImageModel &m) { return m.damping(3); }, 250},
        {"alarm 1 hours", [](ImageModel &m) { m.setTodAlarmHours(1, 13); }, Heard::System, {sys(46, 13)},
         [](const ImageModel &m) { return m.todAlarmHours(1); }, 13},
        {"alarm 8 minutes", [](ImageModel &m) { m.setTodAlarmMinutes(8, 59); }, Heard::System, {sys(61, 59)},
         [](const ImageModel &m) { return m.todAlarmMinutes(8); }, 59},
        {"degrees C", [](ImageModel &m) { m.setDisplayFlags(layout::kFahrenheitBit, 0); }, Heard::System, {sys(1, 18)},
         [](const ImageModel &m) { return m.temperatureInCelsius(); }, 1},
        {"km/h", [](ImageModel &m) { m.setDisplayFlags(layout::kSpeedUnitBits, layout::kKphBits); }, Heard::System,
         {sys(1, 90)}, [](const ImageModel &m) { return m.speedUnits(); }, layout::kKphBits},
        {"sensitivity keeps the high bits", [](ImageModel &m) { m.setTachoSensitivity(7); }, Heard::System,
         {sys(2, 0xF7)}, [](const ImageModel &m) { return m.tachoSensitivity(); }, 7},
        {"pulley ratio", [](ImageModel &m) { m.setPulleyRatio(50); }, Heard::System, {sys(7, 50)},
         [](const ImageModel &m) { return m.pulleyRatio(); }, 50},
        {"pulley ratio as it was", [](ImageModel &m) { m.setPulleyRatio(5); }, Heard::Nothing, {},
         [](const ImageModel &m) { return m.pulleyRatio(); }, 5},
        {"configuration shown", [](ImageModel &m) { m.setShownConfiguration(9); }, Heard::System, {sys(6, 9)},
         [](const ImageModel &m) { return m.shownConfiguration(); }, 9},
        {"NMEA #1A talker", [](ImageModel &m) { m.setNmeaSelection(1, NmeaPart::Talker, 3); }, Heard::System,
         {sys(68, 3)}, [](const ImageModel &m) { return m.nmeaSelection(1, NmeaPart::Talker); }, 3},
        {"NMEA #4B commas", [](ImageModel &m) { m.setNmeaSelection(8, NmeaPart::Commas, 25); }, Heard::System,
         {sys(91, 25)}, [](const ImageModel &m) { return m.nmeaSelection(8, NmeaPart::Commas); }, 25},
        {"trim sender", [](ImageModel &m) { m.setSenderType(SenderList::Trim, 18); }, Heard::System, {sys(99, 18)},
         [](const ImageModel &m) { return m.senderType(SenderList::Trim); }, 18},
        {"alarm high of #1A", [](ImageModel &m) { m.setAlarmLimit(23, Limit::High, 500); }, Heard::System,
         {sys(182, 1), sys(183, 244)}, [](const ImageModel &m) { return m.alarmLimit(23, Limit::High); }, 500},
        {"alarm low of code 9", [](ImageModel &m) { m.setAlarmLimit(9, Limit::Low, 258); }, Heard::System,
         {sys(152, 1), sys(153, 2)}, [](const ImageModel &m) { return m.alarmLimit(9, Limit::Low); }, 258},
        {"no alarm bytes for code 4", [](ImageModel &m) { m.setAlarmLimit(4, Limit::Low, 1); }, Heard::Nothing, {},
         [](const ImageModel &m) { return m.alarmLimit(4, Limit::Low); }, 0},
        {"right bar source", [](ImageModel &m) { m.setDataSource(kConfig, 4, 30); }, Heard::Configuration,
         {blk(108, 30)}, [](const ImageModel &m) { return m.dataSource(kConfig, 4); }, 30},
        {"left bar upper", [](ImageModel &m) { m.setBarLimit(kConfig, 3, Limit::High, 1000); }, Heard::Configuration,
         {blk(91, 3), blk(92, 232)}, [](const ImageModel &m) { return m.barLimit(kConfig, 3, Limit::High); }, 1000},
        {"right bar lower", [](ImageModel &m) { m.setBarLimit(kConfig, 4, Limit::Low, 258); }, Heard::Configuration,
         {blk(109, 1), blk(110, 2)}, [](const ImageModel &m) { return m.barLimit(kConfig, 4, Limit::Low); }, 258},
        {"icon on", [](ImageModel &m) { m.setIcon(kConfig, 0, true); }, Heard::Configuration, {blk(3, 96)},
         [](const ImageModel &m) { return m.icon(kConfig, 0); }, 1},
        {"icon off", [](ImageModel &m) { m.setIcon(kConfig, 14, false); }, Heard::Configuration, {blk(2, 0)},
         [](const ImageModel &m) { return m.icon(kConfig, 14); }, 0},
        {"clear icons", [](ImageModel &m) { m.clearIcons(kConfig); }, Heard::Configuration,
         {blk(1, 0), blk(2, 0), blk(3, 0), blk(4, 0)}, [](const ImageModel &m) { return m.iconByte(kConfig, 1); }, 0},
        {"clear configuration", [](ImageModel &m) { m.clearConfiguration(kConfig); }, Heard::Configuration,
         {blk(1, 0), blk(2, 0), blk(3, 0), blk(4, 0), blk(28, 0), blk(48, 0), blk(68, 0), blk(88, 0), blk(89, 0),
          blk(90, 0), blk(91, 0), blk(92, 0), blk(108, 0), blk(109, 0), blk(110, 0), blk(111, 0), blk(112, 0)},
         [](const ImageModel &m) { return m.dataSource(kConfig, 0); }, 0},
        {"curve ohms", [](ImageModel &m) { m.setCurveOhms(9, 4, 123.5f); }, Heard::Curves,
         {{Written::Ohms, 9, 4, 123.5}}, [](const ImageModel &m) { return m.curveOhms(9, 4); }, 123.5},
        {"curve value", [](ImageModel &m) { m.setCurveValue(25, 32, 777.0f); }, Heard::Curves,
         {{Written::Value, 25, 32, 777.0}}, [](const ImageModel &m) { return m.curveValue(25, 32); }, 777},
    };
    return table;
}
// clang-format on

// True when the two images differ only where the case writes (and in the checksums).
bool differsOnlyThere(const EditorState &a, const EditorState &b, const std::vector<Written> &written)
{
    auto listed = [&](Written::Area area, int at, int point) {
        for (const Written &w : written)
            if (w.area == area && w.at == at && w.point == point)
                return true;
        return false;
    };
    for (int i = 1; i <= 256; ++i)
        if (a.systemBlock[i] != b.systemBlock[i] && !listed(Written::System, i, 0))
            return false;
    for (int n = 1; n <= 16; ++n)
        for (int d = 1; d < 128; ++d)
            if (a.configBlock[n][d] != b.configBlock[n][d] && !(n == kConfig && listed(Written::Block, d, 0)))
                return false;
    for (int k = 1; k <= 32; ++k)
        for (int p = 1; p <= 32; ++p)
            if ((a.calCurve[k][p][1] != b.calCurve[k][p][1] && !listed(Written::Ohms, k, p)) ||
                (a.calCurve[k][p][2] != b.calCurve[k][p][2] && !listed(Written::Value, k, p)))
                return false;
    return true;
}

double valueAt(const EditorState &s, const Written &w)
{
    switch (w.area) {
    case Written::System:
        return s.systemBlock[w.at];
    case Written::Block:
        return s.configBlock[kConfig][w.at];
    case Written::Ohms:
        return s.calCurve[w.at][w.point][1];
    case Written::Value:
        return s.calCurve[w.at][w.point][2];
    }
    return -1;
}

} // namespace

class TestImageModel : public QObject
{
    Q_OBJECT
private slots:
    void setterWritesItsBytes_data()
    {
        QTest::addColumn<int>("row");
        for (size_t i = 0; i < cases().size(); ++i)
            QTest::newRow(cases()[i].name) << int(i);
    }
    void setterWritesItsBytes()
    {
        QFETCH(int, row);
        const Case &c = cases()[size_t(row)];
        EditorState state;
        writeDefaultsToRam(state);
        state.systemBlock[layout::kTachoSensitivity] |= 0xF0; // bits the instrument owns
        EditorState before;
        before.copyImageFrom(state);
        ImageModel model(state);
        QSignalSpy system(&model, &ImageModel::systemChanged);
        QSignalSpy configuration(&model, &ImageModel::configurationChanged);
        QSignalSpy curves(&model, &ImageModel::curvesChanged);
        QSignalSpy replaced(&model, &ImageModel::imageReplaced);

        for (int pass = 1; pass <= 2; ++pass) { // the second pass sets what is there already
            c.set(model);
            for (const Written &w : c.written)
                QCOMPARE(valueAt(state, w), w.value);
            QVERIFY(differsOnlyThere(before, state, c.written));
            QCOMPARE(c.read(model), c.readBack);
            QCOMPARE(system.count(), c.heard == Heard::System ? 1 : 0);
            QCOMPARE(configuration.count(), c.heard == Heard::Configuration ? 1 : 0);
            QCOMPARE(curves.count(), c.heard == Heard::Curves ? 1 : 0);
            QCOMPARE(replaced.count(), 0);
        }
        if (c.heard == Heard::Configuration)
            QCOMPARE(configuration.first().at(0).toInt(), kConfig);
        // A change leaves its block's checksum right; no change leaves it as it was.
        const bool systemWritten = c.heard == Heard::System;
        QCOMPARE(state.systemBlock[0], systemWritten ? systemBlockChecksum(state.systemBlock) : before.systemBlock[0]);
        for (int n = 1; n <= 16; ++n) {
            const bool written = c.heard == Heard::Configuration && n == kConfig;
            QCOMPARE(state.configBlock[n][0],
                     written ? configBlockChecksum(state.configBlock[n]) : before.configBlock[n][0]);
        }
    }

    void replacementIsAnnounced()
    {
        EditorState state;
        ImageModel model(state);
        QSignalSpy replaced(&model, &ImageModel::imageReplaced);
        model.announceReplaced();
        QCOMPARE(replaced.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestImageModel)
#include "tst_imagemodel.moc"
