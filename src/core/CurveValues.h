// How the user-defined sender curves are shown in the curve grid and how typed numbers are stored.
#pragma once

#include <QString>

namespace curvevalues
{

// Text of a stored curve value (tenths of the instrument's unit) in the Value column:
// curve 6 whole degrees (F or C), curve 16 PSI or bar with one decimal, curve 19
// whole units, the others one decimal.
QString valueText(int curve, float storedValue, bool celsius, bool bars);

// A stored curve value in the unit the Value column shows, unrounded (a chart's
// points): degrees C for curve 6 and bar for curve 16 when those are shown, else
// the stored tenths as whole units.
double shownValue(int curve, float storedValue, bool celsius, bool bars);
// The unit of a curve's values as shown: "°F" or "°C" for the engine temperature
// curves 1..6 (only curve 6 is shown in °C), "PSI" or "bar" for the oil pressure
// curves 10..16 (only 16 in bar), empty where the instrument names none.
QString unitName(int curve, bool celsius, bool bars);

// The stored value for a number typed in the Value column: tenths of the
// instrument's unit, converted from degrees C (curve 6) or bar (curve 16) when
// those are shown.
float storedValue(int curve, double typed, bool celsius, bool bars);

// A number as a single-precision curve value: limited to the float range so that
// an absurdly long entry never stores infinity, NaN stores 0.
float toSingle(double v);

} // namespace curvevalues
