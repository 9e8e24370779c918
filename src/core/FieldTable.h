// What every byte of the configuration image means, in the words the windows use:
// one table read by the compare window, the undo names and any report.
#pragma once

#include "core/ConfigImage.h"

#include <QString>
#include <functional>
#include <vector>

namespace fields
{

// Where a field lives: system block bytes, bytes of one display block, one point
// (ohms and value) of a calibration curve, or the serial port that a file holds
// beside the image (compared only when both sides hold one).
enum class Area { System, Block, Curve, Port };

// Groups in the order they are listed: the sixteen display configurations first.
enum Group : int {
    kConfiguration1 = 0, // .. kConfiguration1 + 15
    kAlarmsAndLimits = 16,
    kUnitsAndSettings,
    kTanks,
    kDamping,
    kTimeOfDayAlarms,
    kNmea,
    kSenderCurves,
    kGroupCount
};
QString groupName(int group);

// The fourteen categories of the upload and download warnings, by number.
enum Category : int {
    kNoCategory = 0,
    kDisplaysCategory = 1,
    kMaintenanceCategory,
    kUnitsCategory,
    kSenderCurvesCategory,
    kPulleyRatioCategory,
    kFuelTankCategory,
    kSecondTankCategory,
    kDampingCategory,
    kSensitivityCategory,
    kAlarmValuesCategory,
    kTodAlarmsCategory,
    kClockCategory, // the instrument's clock: no bytes of the image
    kFineCalibrationsCategory,
    kRaceTimersCategory,
    kLastCategory = kRaceTimersCategory
};

enum class Kind {
    Value,      // something the user sets
    Bookkeeping // kept by the instrument link (upload counter): listed, but no undo step of its own
};

struct Field {
    QString name;
    int group = kUnitsAndSettings;
    Area area = Area::System;
    int index = 0;      // display block 1..16 or curve 1..32; 0 for the system block
    int offset = 0;     // first byte, or the point 1..32 of a curve
    int length = 1;     // bytes
    quint8 mask = 0xFF; // bits of a one-byte field
    // Checksums and the configuration shown: derived or a view, never a difference.
    bool derived = false;
    // Bits without a meaning of their own ("system byte 203"): compared, not reported.
    bool raw = false;
    Kind kind = Kind::Value;
    // The category of the upload and download warnings (1..14) whose transfer carries
    // this field; 0 when none does.
    int category = 0;
    std::function<QString(const ConfigImage &)> text;
    // A curve point's text in the units another image's settings choose, so that two
    // compared images show their points in the same units.
    std::function<QString(const ConfigImage &image, const ConfigImage &units)> textInUnits;
    QString shown(const ConfigImage &image, const ConfigImage &units) const
    {
        return textInUnits ? textInUnits(image, units) : text(image);
    }
};

// Every field of the image, each bit of system bytes 0..255 and display block bytes
// 0..127 and each curve point in exactly one field. Bytes without a meaning of their
// own are fields named "system byte 203" or "Configuration 3 · byte 17" showing the raw value.
const std::vector<Field> &table();

// True when the field's bits (or curve point) differ between the two images.
bool differs(const Field &field, const ConfigImage &a, const ConfigImage &b);
// The stored bits as numbers ("3, 232"; a curve point as "ohms 10, value 1755").
QString rawText(const Field &field, const ConfigImage &image);

struct Line {
    int group = 0;
    QString field;
    QString oldText;
    QString newText;
    bool differs = false;
};

// The fields whose values differ, grouped and in table order. Where the shown texts
// happen to be the same (a value below the shown precision), the raw values are shown.
// Curve points of both sides are shown in the units `units` chooses (the editor's).
std::vector<Line> differences(const ConfigImage &before, const ConfigImage &after, const ConfigImage &units);
inline std::vector<Line> differences(const ConfigImage &before, const ConfigImage &after)
{
    return differences(before, after, before);
}
// Every field that is not derived, with whether it differs.
std::vector<Line> everything(const ConfigImage &before, const ConfigImage &after, const ConfigImage &units);
inline std::vector<Line> everything(const ConfigImage &before, const ConfigImage &after)
{
    return everything(before, after, before);
}

// A name for the change from `before` to `after`: the one changed field's name, or
// "N changes"; empty when no user value changed (only derived or bookkeeping bytes).
QString changeName(const ConfigImage &before, const ConfigImage &after);

} // namespace fields
