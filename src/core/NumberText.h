// Number text, number fields, format masks, reading a leading number, and rounding halves to even.
#pragma once

#include <QString>
#include <QtGlobal>

namespace numtext
{

// Whole number with a blank before non-negative values ("-" before negative ones),
// no trailing blank: 3 -> " 3", -3 -> "-3". Used for every number joined into a
// caption, message, prompt default or output line.
QString signedText(qint64 n);
// The same for a fraction, in the shortest form of a single-precision number
// (up to 7 significant digits, no zero before the point): 0.5 -> " .5".
QString signedText(double v);

// Shortest decimal form of a single-precision number with at most 7 significant
// digits, no zero before the point and no sign blank: 12.5 -> "12.5", 0.5 -> ".5",
// -0.5 -> "-.5", 10 -> "10". Very large or small numbers use "1.234568E+07".
QString floatText(float v);

// A configuration file number field: sign position, digits, trailing blank.
QString numberField(qint64 n); // 255 -> " 255 "
// The form of floatText (at most seven significant digits). The few single-precision
// numbers that seven digits cannot give back exactly move to the nearest seven-digit
// value at their first save and stay there. NaN and -0 are written as 0: neither is a
// value a curve can hold.
QString numberField(float v); // 0.5 -> " .5 "

// Format masks "####0", "###0.0", "##0.00": at least one integer digit and exactly
// `decimals` decimals (0, 1 or 2); halves round away from zero as the masks do.
QString formatDecimals(double v, int decimals);
// Mask "0#": at least two digits, leading zero.
QString formatTwoDigits(qint64 n);

// The number at the start of a typed or prompted text: leading blanks skipped, an
// optional sign, digits with at most one decimal point; reading stops at the first
// character that does not fit, so "1e3" reads as 1. A text that does not start with
// a number reads as 0.
double leadingNumber(const QString &text);
// The same, also reading the exponent that floatText writes for very large and very
// small numbers ("1.234568E+07"): for texts the program wrote itself and reads back.
double floatTextNumber(const QString &text);

// Text read from a file as a message shows it, safe for a window and a terminal: at
// most `maxChars` characters, printable ASCII as it is, a backslash as "\\", every
// other character (control characters such as ESC, bytes that decode to nothing
// readable) as "\x1b" (or "\u{263a}" beyond Latin-1); a longer text ends in "…".
QString printablePrefix(QStringView text, int maxChars = 32);

// Round to the nearest whole number, a half going to the even neighbour.
qint64 roundHalfEven(double v);

} // namespace numtext
