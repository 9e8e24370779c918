#include "core/TransferRules.h"

#include <cstring>

#include "core/EditorState.h"
#include "core/FieldTable.h"
#include "core/ImageLayout.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>

using numtext::roundHalfEven;

namespace transfer
{

namespace
{
// The instrument reads a sender as 10-bit counts against a 180-ohm pull-up.
constexpr int kPullUpOhms = 180;
constexpr int kFullScaleCounts = 1023;
} // namespace

QString categoryCaption(int category)
{
    static const char *const captions[] = {
        "",
        "Display Configurations",
        "Maintenance Alarm",
        "Units of Measure",
        "Sender Curves",
        "Tacho Pulley Ratio",
        "Fuel Tank Size",
        "2n'd Tank Size",
        "Display Damping",
        "Tacho Sensitivity",
        "Hi/Lo Alarm Values",
        "Time-Of-Day Alarms",
        "Time-Of-Day Clock",
        "Fine Calibrations",
        "Race Timers",
    };
    return (category >= 1 && category <= 14) ? QString::fromLatin1(captions[category]) : QString();
}

QList<int> categoryBytes(int category)
{
    // The field table says which bytes each category carries.
    static const std::array<QList<int>, fields::kLastCategory + 1> bytes = [] {
        std::array<QList<int>, fields::kLastCategory + 1> all;
        for (const fields::Field &f : fields::table()) {
            if (f.area != fields::Area::System || f.category == fields::kNoCategory)
                continue;
            QList<int> &list = all[size_t(f.category)];
            for (int i = f.offset; i < f.offset + f.length; ++i)
                if (!list.contains(i))
                    list.append(i);
        }
        for (QList<int> &list : all)
            std::sort(list.begin(), list.end());
        return all;
    }();
    return (category >= 1 && category <= fields::kLastCategory) ? bytes[size_t(category)] : QList<int>();
}

const QList<int> &downloadOrder()
{
    static const QList<int> order{10, 9, 8, 11, 13, 14};
    return order;
}

bool isDownloadable(int category)
{
    return downloadOrder().contains(category);
}

void uploadedSettings(const quint8 *instrument, const quint8 *system, const TransferChoices &chosen,
                      const FactorySession &factory, const QDate &today, quint8 *buffer)
{
    memcpy(buffer, instrument, layout::kSystemBytes);
    advanceUploadCounter(buffer, factory.newUnitMode);
    applyFirstUploadDate(buffer, today);
    for (int c = 2; c <= 14; ++c) {
        if (c == 12 || !chosen.upload[c])
            continue;
        for (int b : categoryBytes(c))
            buffer[b] = system[b];
    }
    for (int b = layout::kNmeaSelection; b <= layout::kNmeaSelectionLast; ++b)
        buffer[b] = system[b];
    if (factory.newUnitUploadPending) {
        for (int i = 0; i < 4; ++i)
            buffer[layout::kSerialNumber + i] = factory.newSerialBytes[1 + i];
    }
    if (factory.newUnitMode) {
        for (int b = 1; b <= 256; ++b)
            buffer[b] = system[b];
    }
    buffer[layout::kSystemChecksum] = systemBlockChecksum(buffer);
}

void decodeCurve(const std::array<quint8, 128> &bytes, float points[33][3])
{
    for (int j = 1; j <= 32; ++j) {
        const size_t at = size_t(4 * (j - 1));
        const int counts = std::min(kFullScaleCounts - 1, bytes[at] * 256 + bytes[at + 1]);
        points[j][1] = float(double(kPullUpOhms) * counts / double(kFullScaleCounts - counts));
        points[j][2] = float(bytes[at + 2] * 256 + bytes[at + 3]);
    }
}

const QList<int> &uploadedCurves()
{
    static const QList<int> curves = [] {
        QList<int> list;
        for (const fields::Field &f : fields::table())
            if (f.area == fields::Area::Curve && f.category == fields::kSenderCurvesCategory && !list.contains(f.index))
                list.append(f.index);
        std::sort(list.begin(), list.end());
        return list;
    }();
    return curves;
}

void advanceUploadCounter(quint8 *block, bool newUnit)
{
    quint8 &high = block[layout::kUploadCounter];
    quint8 &low = block[layout::kUploadCounter + 1];
    if (newUnit) {
        high = 1;
        low = 0;
    } else if (low == 255) {
        low = 0;
        high = high == 255 ? 0 : quint8(high + 1);
    } else {
        low = quint8(low + 1);
    }
}

void applyFirstUploadDate(quint8 *block, const QDate &today)
{
    quint8 *b = block + layout::kFirstUploadDate; // year, month, day
    const int year = today.year() % 100;
    const int month = today.month();
    const int day = today.day();
    const long stored = long(b[0]) * 100000 + long(b[1]) * 1000 + b[2];
    const long now = long(year) * 100000 + long(month) * 1000 + day;
    if (stored > now) {
        b[0] = quint8(year);
        b[1] = quint8(month);
        b[2] = quint8(day);
    }
}

EncodedCurve encodeCurve(const ImageBytes &state, int curve)
{
    EncodedCurve out;
    long counts[33] = {};
    long values[33] = {};
    for (int j = 1; j <= 32; ++j) {
        const float r = state.calCurve[curve][j][1];
        const float v = state.calCurve[curve][j][2];
        if (!std::isfinite(r) || r < 0.0f) {
            out.point = j;
            out.problem = QStringLiteral("its resistance %1 ohms is not a resistance a sender can have")
                              .arg(numtext::floatText(r));
            return out;
        }
        if (!std::isfinite(v) || v < 0.0f || v > 65535.0f) {
            out.point = j;
            out.problem = QStringLiteral("its value %1 is outside what the instrument can store (0 to 6553.5)")
                              .arg(numtext::floatText(v / 10.0f));
            return out;
        }
        // The 10-bit reading of the sender against the pull-up, in single precision.
        const float c = r * float(kFullScaleCounts) / (r + float(kPullUpOhms));
        const long countsHigh = long(roundHalfEven(double(c / 256.0f - 0.5f)));
        long countsLow = long(roundHalfEven(double(c - 256.0f * float(countsHigh))));
        if (countsLow == 256)
            countsLow = 255;
        if (countsLow < 0)
            countsLow = 0;
        const long valueHigh = long(roundHalfEven(double(v / 256.0f - 0.5f)));
        long valueLow = long(std::floor(double(v - 256.0f * float(valueHigh))));
        if (valueLow == 256)
            valueLow = 255;
        if (valueLow < 0)
            valueLow = 0;
        counts[j] = 256 * countsHigh + countsLow;
        values[j] = 256 * valueHigh + valueLow;
    }
    if (counts[1] == counts[2] || counts[31] == counts[32]) {
        out.point = counts[1] == counts[2] ? 2 : 32;
        out.problem = QStringLiteral("its first two or last two points have the same resistance reading, so "
                                     "the ends of the curve cannot be extended");
        return out;
    }
    auto clampWord = [](double v) { return long(std::min(65535.0, std::max(0.0, v))); };
    // Point 1 becomes the straight line through points 1 and 2 taken at counts 0.
    const double slopeLow = double(values[1] - values[2]) / double(counts[1] - counts[2]);
    const long first = clampWord(double(roundHalfEven(double(values[1]) - double(counts[1]) * slopeLow)));
    // Point 32 becomes the line through points 31 and 32 taken at counts 1023.
    const double slopeHigh = double(values[31] - values[32]) / double(counts[31] - counts[32]);
    const long last = clampWord(std::floor(double(values[31]) + double(1023 - counts[31]) * slopeHigh));
    counts[1] = 0;
    values[1] = first;
    counts[32] = 1023;
    values[32] = last;

    for (int j = 1; j <= 32; ++j) {
        const int at = 4 * (j - 1);
        out.bytes[at] = quint8(counts[j] / 256);
        out.bytes[at + 1] = quint8(counts[j] % 256);
        out.bytes[at + 2] = quint8(values[j] / 256);
        out.bytes[at + 3] = quint8(values[j] % 256);
    }
    out.ok = true;
    return out;
}

} // namespace transfer
