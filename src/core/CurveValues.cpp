#include "core/CurveValues.h"

#include "core/NumberText.h"

#include <cfloat>
#include <cmath>

namespace curvevalues
{
namespace
{

constexpr int kEngineTempCurve = 6;
constexpr int kOilPressureCurve = 16;
constexpr int kTrimCurve = 19;

// Beyond this the masks and whole-number texts cannot hold the digits; the short
// float form still says what is stored.
constexpr double kLargestPlainNumber = 1e15;

QString wholeText(double v)
{
    if (!std::isfinite(v) || std::fabs(v) >= kLargestPlainNumber)
        return numtext::floatText(float(v));
    return QString::number(qint64(std::floor(v)));
}

QString oneDecimalText(double v)
{
    if (!std::isfinite(v) || std::fabs(v) >= kLargestPlainNumber)
        return numtext::floatText(float(v));
    return numtext::formatDecimals(v, 1);
}

} // namespace

QString valueText(int curve, float storedValue, bool celsius, bool bars)
{
    const double v = storedValue;
    switch (curve) {
    case kEngineTempCurve:
        // The 0.55555 and the +5 are the instrument's own conversion; they decide
        // where a stored tenth of a degree F falls in whole degrees C.
        return celsius ? wholeText(((v + 5.0) / 10.0 - 32.0) * 0.55555) : wholeText(v / 10.0);
    case kOilPressureCurve:
        return oneDecimalText(bars ? v / 145.04 : v / 10.0);
    case kTrimCurve:
        return wholeText(v / 10.0);
    default:
        return oneDecimalText(v / 10.0);
    }
}

double shownValue(int curve, float storedValue, bool celsius, bool bars)
{
    const double v = storedValue;
    if (curve == kEngineTempCurve && celsius)
        return (v / 10.0 - 32.0) / 1.8;
    if (curve == kOilPressureCurve && bars)
        return v / 145.04;
    return v / 10.0;
}

QString unitName(int curve, bool celsius, bool bars)
{
    if (curve >= 1 && curve <= kEngineTempCurve)
        return curve == kEngineTempCurve && celsius ? QStringLiteral("°C") : QStringLiteral("°F");
    if (curve >= 10 && curve <= kOilPressureCurve)
        return curve == kOilPressureCurve && bars ? QStringLiteral("bar") : QStringLiteral("PSI");
    return QString();
}

float storedValue(int curve, double typed, bool celsius, bool bars)
{
    double v = typed * 10.0;
    if (curve == kEngineTempCurve && celsius)
        v = typed * 10.0 * 1.8 + 320.0;
    if (curve == kOilPressureCurve && bars)
        v = typed * 10.0 * 14.504;
    return toSingle(v);
}

float toSingle(double v)
{
    if (std::isnan(v))
        return 0.0f;
    if (v > double(FLT_MAX))
        return FLT_MAX;
    if (v < -double(FLT_MAX))
        return -FLT_MAX;
    return float(v);
}

} // namespace curvevalues
