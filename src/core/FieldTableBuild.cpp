#include "core/FieldTableBuild.h"

#include "core/CurveValues.h"
#include "core/DampingTable.h"
#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/FieldNames.h"
#include "core/IconTable.h"
#include "core/ImageLayout.h"
#include "core/NmeaLists.h"
#include "core/NumberText.h"
#include "core/SenderLists.h"

#include <algorithm>
#include <cstring>

namespace fields
{
namespace
{

using TextFn = std::function<QString(const ConfigImage &)>;

QString onOff(bool on)
{
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

QString number(qint64 n)
{
    return QString::number(n);
}

// The bits of a system block byte that the user reads from the Edit menu.
QString choice(quint8 value, std::initializer_list<std::pair<int, const char *>> entries, const char *otherwise)
{
    for (const auto &[v, text] : entries)
        if (v == value)
            return QLatin1String(text);
    return QString::fromLatin1(otherwise).arg(value);
}

class Builder
{
public:
    std::vector<Field> fields;

    Field &add(const QString &name, int group, Area area, int index, int offset, int length, quint8 mask, TextFn text)
    {
        Field f;
        f.name = name;
        f.group = group;
        f.area = area;
        f.index = index;
        f.offset = offset;
        f.length = length;
        f.mask = mask;
        f.text = std::move(text);
        fields.push_back(std::move(f));
        return fields.back();
    }

    Field &system(const QString &name, int group, int category, int offset, int length, TextFn text, quint8 mask = 0xFF)
    {
        for (int i = offset; i < offset + length; ++i)
            m_systemBits[i] |= mask;
        Field &f = add(name, group, Area::System, 0, offset, length, mask, std::move(text));
        f.category = category;
        return f;
    }

    // The bits of system bytes first..last that no field names travel with `category`.
    void carry(int category, int first, int last)
    {
        for (int i = first; i <= last; ++i)
            m_restCategory[i] = category;
    }

    // A field of display configuration n, by its full name (FieldNames.h).
    Field &block(int n, const QString &name, int offset, int length, TextFn text, quint8 mask = 0xFF)
    {
        for (int i = offset; i < offset + length; ++i)
            m_blockBits[i] |= mask;
        Field &f = add(name, kConfiguration1 + n - 1, Area::Block, n, offset, length, mask, std::move(text));
        f.category = kDisplaysCategory;
        return f;
    }

    // The bits nobody named, as raw values.
    void systemRemainder()
    {
        for (int i = 0; i < layout::kSystemBytes; ++i) {
            const quint8 rest = quint8(~m_systemBits[i]);
            if (!rest)
                continue;
            const QString name = rest == 0xFF ? QStringLiteral("system byte %1").arg(i)
                                              : QStringLiteral("system byte %1 (other bits)").arg(i);
            Field &f = add(name, rawSystemGroup(i), Area::System, 0, i, 1, rest,
                           [i, rest](const ConfigImage &m) { return number(m.system[i] & rest); });
            f.raw = true;
            f.category = m_restCategory[i];
        }
    }

    void blockRemainder(int n)
    {
        for (int d = 0; d < layout::kBlockBytes; ++d) {
            const quint8 rest = quint8(~m_blockBits[d]);
            if (!rest)
                continue;
            const QString name =
                rest == 0xFF ? QStringLiteral("byte %1").arg(d) : QStringLiteral("byte %1 (other bits)").arg(d);
            Field &f = add(configurationFieldName(n, name), kConfiguration1 + n - 1, Area::Block, n, d, 1, rest,
                           [n, d, rest](const ConfigImage &m) { return number(m.blocks[n][d] & rest); });
            f.raw = true;
            f.category = kDisplaysCategory;
        }
        std::memset(m_blockBits, 0, sizeof m_blockBits);
    }

private:
    static int rawSystemGroup(int i)
    {
        if (layout::isDampingByte(i))
            return kDamping; // the rest of the damping category
        if (i >= layout::kAlarmLimits && i <= layout::kAlarmLimitsLast)
            return kAlarmsAndLimits;
        return kUnitsAndSettings;
    }

    quint8 m_systemBits[layout::kSystemBytes] = {};
    quint8 m_blockBits[layout::kBlockBytes] = {};
    int m_restCategory[layout::kSystemBytes] = {};
};

TextFn word(int offset)
{
    return [offset](const ConfigImage &m) { return number(m.systemWord(offset)); };
}

TextFn tenths(int offset)
{
    return [offset](const ConfigImage &m) { return numtext::floatText(float(m.systemWord(offset) / 10.0)); };
}

// One bit of the display flags, named as the Edit menu names its two states.
TextFn flagText(quint8 bit, const char *set, const char *clear)
{
    return [bit, set, clear](const ConfigImage &m) {
        return QLatin1String(m.system[layout::kDisplayFlags] & bit ? set : clear);
    };
}

// The bits of the display flags and the tachometer sensitivity.
void addUnits(Builder &b)
{
    const int u = kUnitsAndSettings;
    const int flags = layout::kDisplayFlags;
    b.system(QStringLiteral("Bar graph type"), u, kUnitsCategory, flags, 1,
             flagText(layout::kBarChartBit, "Bar Chart", "Pointer"), layout::kBarChartBit);
    b.system(QStringLiteral("Time format"), u, kUnitsCategory, flags, 1,
             flagText(layout::kTwelveHourBit, "12 Hr", "24 Hr"), layout::kTwelveHourBit);
    b.system(QStringLiteral("Temperature units"), u, kUnitsCategory, flags, 1,
             flagText(layout::kFahrenheitBit, "Deg. F", "Deg. C"), layout::kFahrenheitBit);
    b.system(QStringLiteral("Pressure units"), u, kUnitsCategory, flags, 1, flagText(layout::kPsiBit, "PSI", "Bars"),
             layout::kPsiBit);
    b.system(
        QStringLiteral("Speed/distance units"), u, kUnitsCategory, flags, 1,
        [](const ConfigImage &m) {
            return choice(m.system[layout::kDisplayFlags] & layout::kSpeedUnitBits,
                          {{0x00, "Knots/NM"}, {layout::kMphBits, "MPH/Miles"}, {layout::kKphBits, "KPH/Km"}},
                          "none (bits 5 and 6 both set)");
        },
        layout::kSpeedUnitBits);
    b.system(
        QStringLiteral("Tachometer sensitivity"), u, kSensitivityCategory, layout::kTachoSensitivity, 1,
        [](const ConfigImage &m) {
            return choice(m.system[layout::kTachoSensitivity] & layout::kSensitivityBits,
                          {{15, "Maximum"}, {14, "High"}, {13, "Medium"}, {11, "Low"}, {7, "Minimum"}}, "none (%1)");
        },
        layout::kSensitivityBits);
}

void addInstrumentRecords(Builder &b)
{
    const int u = kUnitsAndSettings;
    b.system(QStringLiteral("Upload counter"), u, kNoCategory, layout::kUploadCounter, 2, word(layout::kUploadCounter))
        .kind = Kind::Bookkeeping;
    b.system(QStringLiteral("Serial number"), u, kNoCategory, layout::kSerialNumber, 4, [](const ConfigImage &m) {
        const quint8 *serial = m.system + layout::kSerialNumber;
        return number(serial[0]) + numtext::formatTwoDigits(serial[1]) + numtext::formatTwoDigits(serial[2]) +
               QStringLiteral("%1").arg(serial[3], 3, 10, QLatin1Char('0'));
    });
    b.system(QStringLiteral("Date of the first upload"), u, kNoCategory, layout::kFirstUploadDate, 3,
             [](const ConfigImage &m) {
                 const quint8 *date = m.system + layout::kFirstUploadDate; // year, month, day
                 if (date[0] == 255 && date[1] == 255 && date[2] == 255)
                     return QStringLiteral("none yet");
                 return numtext::formatTwoDigits(date[1]) + QLatin1Char('-') + numtext::formatTwoDigits(date[2]) +
                        QLatin1Char('-') + numtext::formatTwoDigits(date[0]);
             });
}

void addSettings(Builder &b)
{
    const int u = kUnitsAndSettings;
    b.system(QStringLiteral("System block checksum"), u, kNoCategory, layout::kSystemChecksum, 1,
             [](const ConfigImage &m) { return number(m.system[layout::kSystemChecksum]); })
        .derived = true;
    addUnits(b);
    b.system(QStringLiteral("Current display configuration"), u, kNoCategory, layout::kShownConfiguration, 1,
             [](const ConfigImage &m) { return number(m.system[layout::kShownConfiguration]); })
        .derived = true;
    b.system(QStringLiteral("Tachometer pulley ratio"), u, kPulleyRatioCategory, layout::kPulleyRatio, 1,
             [](const ConfigImage &m) {
                 return choice(
                     m.system[layout::kPulleyRatio],
                     {{1, "1:1"}, {5, "5:1"}, {10, "10:1"}, {20, "20:1"}, {50, "50:1"}, {100, "100:1"}, {200, "200:1"}},
                     "%1 (shown as 1:1)");
             });
    addInstrumentRecords(b);
    b.system(QStringLiteral("Race timers"), u, kRaceTimersCategory, layout::kRaceTimers, 1,
             [](const ConfigImage &m) { return number(m.system[layout::kRaceTimers]); });
    b.system(QStringLiteral("Engine maintenance alarm"), u, kMaintenanceCategory, layout::kMaintenanceAlarm, 2,
             [](const ConfigImage &m) {
                 const int minutes = m.systemWord(layout::kMaintenanceAlarm);
                 return minutes == 0 ? QStringLiteral("Off")
                                     : numtext::formatDecimals(minutes / 60.0, 1) + QStringLiteral(" hours");
             });

    b.system(QStringLiteral("Fuel tank size"), kTanks, kFuelTankCategory, layout::kFuelTankSize, 2,
             tenths(layout::kFuelTankSize));
    b.system(QStringLiteral("2n'd tank size"), kTanks, kSecondTankCategory, layout::kSecondTankSize, 2,
             tenths(layout::kSecondTankSize));

    for (int i = 0; i < damping::kFunctions; ++i) {
        const int byte = damping::kTable[i].byte;
        b.system(dampingFieldName(i), kDamping, kDampingCategory, byte, 1,
                 [byte](const ConfigImage &m) { return number(m.system[byte]); });
    }
    for (int k = 1; k <= layout::kTodAlarmCount; ++k) {
        const int hours = layout::todAlarmHours(k);
        for (int byte : {hours, hours + 1})
            b.system(todAlarmFieldName(k, byte != hours), kTimeOfDayAlarms, kTodAlarmsCategory, byte, 1,
                     [byte](const ConfigImage &m) { return numtext::formatTwoDigits(m.system[byte]); });
    }
}

void addNmea(Builder &b)
{
    const QStringList *lists[3] = {&nmea::talkers(), &nmea::sentences(), nullptr};
    for (int s = 1; s <= layout::kNmeaInputs; ++s)
        for (int part = 0; part < 3; ++part) {
            const int byte = layout::nmeaSelectionByte(s, layout::NmeaPart(part));
            const QStringList *list = lists[part];
            b.system(nmeaFieldName(s, layout::NmeaPart(part)), kNmea, kNoCategory, byte, 1,
                     [byte, list](const ConfigImage &m) {
                         const int code = m.system[byte];
                         const int size = list ? int(list->size()) : nmea::kCommaEntries;
                         if (code < 1 || code > size)
                             return QStringLiteral("none (code %1)").arg(code);
                         return list ? list->at(code - 1) : number(code);
                     });
        }
}

void addSenderTypes(Builder &b)
{
    for (const senderlists::SenderList list : senderlists::kAllLists) {
        const int byte = senderlists::systemByte(list);
        b.system(senderTypeFieldName(list), kSenderCurves, kSenderCurvesCategory, byte, 1,
                 [byte, list](const ConfigImage &m) {
                     const int type = m.system[byte];
                     const int position = senderlists::positionForType(list, type);
                     if (senderlists::typeForPosition(list, position) != type)
                         return QStringLiteral("type %1 (not in the list)").arg(type);
                     return senderlists::entries(list).at(position);
                 });
    }
}

void addAlarmLimits(Builder &b)
{
    for (int code = 1; code <= 34; ++code) {
        const datasources::AlarmSlot slot = datasources::alarmSlot(code);
        if (!slot.first)
            continue;
        const int decimals = slot.decimals;
        for (int part = 0; part < 2; ++part) {
            const int offset = slot.first + 2 * part;
            b.system(alarmLimitFieldName(code, part == 1), kAlarmsAndLimits, kAlarmValuesCategory, offset, 2,
                     [offset, decimals](const ConfigImage &m) {
                         return datasources::formatStored(m.systemWord(offset), decimals);
                     });
        }
    }
}

void addBlock(Builder &b, int n)
{
    b.block(n, configurationFieldName(n, QStringLiteral("checksum")), layout::kBlockChecksum, 1,
            [n](const ConfigImage &m) { return number(m.blocks[n][layout::kBlockChecksum]); })
        .derived = true;
    for (int i = 0; i < icons::kCount; ++i) {
        const int byte = icons::kIcons[i].byte;
        const quint8 mask = quint8(1u << icons::kIcons[i].bit);
        b.block(
            n, iconFieldName(n, i), byte, 1,
            [n, byte, mask](const ConfigImage &m) { return onOff(m.blocks[n][byte] & mask); }, mask);
    }
    for (int k = 0; k < displays::kCount; ++k) {
        const int d = displays::kDisplays[k].codeByte;
        b.block(n, sourceFieldName(n, k), d, 1,
                [n, d](const ConfigImage &m) { return datasources::sourceText(m.blocks[n][d]); });
        if (!displays::kDisplays[k].isBar)
            continue;
        for (int part = 0; part < 2; ++part) {
            const int offset = d + (part ? layout::kBarUpperAfterSource : layout::kBarLowerAfterSource);
            b.block(n, barLimitFieldName(n, k, part == 1), offset, 2, [n, d, offset](const ConfigImage &m) {
                return datasources::formatStored(m.blockWord(n, offset), datasources::barDecimals(m.blocks[n][d]));
            });
        }
    }
    b.blockRemainder(n);
}

// A curve point of `m` as the curve grid shows it, in the units the settings of `units` choose.
QString pointText(const ConfigImage &m, int curve, int point, const ConfigImage &units)
{
    const bool celsius = !(units.system[layout::kDisplayFlags] & layout::kFahrenheitBit);
    const bool bars = !(units.system[layout::kDisplayFlags] & layout::kPsiBit);
    const QString unit = curvevalues::unitName(curve, celsius, bars);
    return numtext::floatText(m.curves[curve][point][1]) + QStringLiteral(" ohm, ") +
           curvevalues::valueText(curve, m.curves[curve][point][2], celsius, bars) +
           (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

// An upload writes the user-defined curves and curve 22; the instrument keeps the others.
bool isTransferredCurve(int curve)
{
    return curve == 6 || curve == 9 || curve == 16 || curve == 19 || curve == 22 || curve == 25;
}

void addCurves(Builder &b)
{
    for (int k = 1; k <= 32; ++k)
        for (int p = 1; p <= 32; ++p) {
            Field &f = b.add(curvePointFieldName(k, p), kSenderCurves, Area::Curve, k, p, 1, 0xFF,
                             [k, p](const ConfigImage &m) { return pointText(m, k, p, m); });
            f.textInUnits = [k, p](const ConfigImage &m, const ConfigImage &units) {
                return pointText(m, k, p, units);
            };
            f.category = isTransferredCurve(k) ? kSenderCurvesCategory : kNoCategory;
        }
}

// Bytes and bits without a meaning of their own that travel with a category.
void addCarried(Builder &b)
{
    using namespace layout;
    b.carry(kUnitsCategory, kDisplayFlags, kDisplayFlags);
    b.carry(kSensitivityCategory, kTachoSensitivity, kTachoSensitivity);
    for (int i = kDamping2B; i <= kDampingLast; ++i)
        if (isDampingByte(i))
            b.carry(kDampingCategory, i, i);
    b.carry(kAlarmValuesCategory, kAlarmLimits, kAlarmLimitsLast);
    b.carry(kFineCalibrationsCategory, kFineCalibrationsA, kFineCalibrationsA + 5);
    b.carry(kFineCalibrationsCategory, kFineCalibrationsB, kFineCalibrationsB + 12);
    b.carry(kFineCalibrationsCategory, kFineCalibrationsC, kFineCalibrationsC + 1);
    b.carry(kFineCalibrationsCategory, kFineCalibrationsD, kFineCalibrationsD + 1);
}

void addPort(Builder &b)
{
    b.add(QStringLiteral("Communications Port"), kUnitsAndSettings, Area::Port, 0, 0, 1, 0xFF,
          [](const ConfigImage &m) {
              if (m.comPort == ConfigImage::kPortNotKnown)
                  return QStringLiteral("not known");
              return m.comPort ? QStringLiteral("COM%1").arg(m.comPort) : QStringLiteral("None");
          });
}

} // namespace

std::vector<Field> buildTable()
{
    Builder b;
    for (int n = 1; n <= 16; ++n)
        addBlock(b, n);
    addSettings(b);
    addPort(b);
    addNmea(b);
    addSenderTypes(b);
    addAlarmLimits(b);
    addCarried(b);
    b.systemRemainder();
    addCurves(b);
    std::stable_sort(b.fields.begin(), b.fields.end(),
                     [](const Field &x, const Field &y) { return x.group < y.group; });
    return std::move(b.fields);
}

} // namespace fields
