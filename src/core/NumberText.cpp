#include "core/NumberText.h"

#include <cmath>
#include <cstdlib>

namespace numtext
{

QString signedText(qint64 n)
{
    return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

QString signedText(double v)
{
    const QString t = floatText(float(v));
    return t.startsWith(QLatin1Char('-')) ? t : QStringLiteral(" ") + t;
}

QString printablePrefix(QStringView text, int maxChars)
{
    QString out;
    const qsizetype shown = qMin<qsizetype>(text.size(), maxChars);
    for (qsizetype i = 0; i < shown; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c >= 0x20 && c < 0x7F)
            out += QChar(c);
        else if (c <= 0xFF)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    if (shown < text.size())
        out += QStringLiteral("…");
    return out;
}

namespace
{

// Shortest decimal form of v with at most `maxDigits` significant digits that reads
// back as v through a double, the way the file reader and leadingNumber read it.
// Qt's conversions are used because they ignore the C locale: with a system locale
// whose decimal separator is a comma, printf would write "12,5", which the file
// reader splits into two fields.
QString shortestFloatText(float v, int maxDigits)
{
    if (v == 0.0f || std::isnan(v))
        return QStringLiteral("0");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-1E+39") : QStringLiteral("1E+39");
    // Whole numbers below 10 000 000 (most curve values) are their digits.
    if (std::fabs(v) < 1.0e7f && v == std::trunc(v))
        return QString::number(qint64(v));

    QByteArray e;
    for (int p = 1; p <= maxDigits; ++p) {
        e = QByteArray::number(double(v), 'e', p - 1); // [-]d.ddde[+-]xx
        if (float(e.toDouble()) == v)
            break;
    }
    QString s = QString::fromLatin1(e);
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s.remove(0, 1);
    const int ePos = s.indexOf(QLatin1Char('e'));
    QString mantissa = s.left(ePos);
    const int exponent = s.mid(ePos + 1).toInt();
    mantissa.remove(QLatin1Char('.'));
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);

    QString out;
    if (exponent >= 7 || exponent < -5) {
        out = mantissa.left(1);
        if (mantissa.size() > 1)
            out += QLatin1Char('.') + mantissa.mid(1);
        out += QStringLiteral("E%1%2")
                   .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                   .arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        out = QLatin1Char('.') + QString(-exponent - 1, QLatin1Char('0')) + mantissa;
    } else {
        const int intDigits = exponent + 1;
        if (mantissa.size() <= intDigits)
            out = mantissa + QString(intDigits - mantissa.size(), QLatin1Char('0'));
        else
            out = mantissa.left(intDigits) + QLatin1Char('.') + mantissa.mid(intDigits);
    }
    return negative ? QLatin1Char('-') + out : out;
}

// Numbers are written with at most seven significant digits, in captions and in the
// configuration file alike (the file format fixes this).
constexpr int kSignificantDigits = 7;

} // namespace

QString floatText(float v)
{
    return shortestFloatText(v, kSignificantDigits);
}

QString numberField(qint64 n)
{
    return signedText(n) + QLatin1Char(' ');
}

QString numberField(float v)
{
    const QString t = shortestFloatText(v, kSignificantDigits);
    return (t.startsWith(QLatin1Char('-')) ? t : QLatin1Char(' ') + t) + QLatin1Char(' ');
}

QString formatDecimals(double v, int decimals)
{
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;
    // A tiny nudge keeps values such as 0.05 (stored 5 / 100) from falling short.
    const double scaled = std::floor(std::fabs(v) * scale + 0.5 + 1e-9);
    const bool negative = v < 0 && scaled != 0;
    QString digits = QString::number(qint64(scaled));
    if (decimals > 0) {
        if (digits.size() <= decimals)
            digits = QString(decimals + 1 - digits.size(), QLatin1Char('0')) + digits;
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

QString formatTwoDigits(qint64 n)
{
    if (n < 0)
        return QLatin1Char('-') + QStringLiteral("%1").arg(-n, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

namespace
{

double readNumber(const QString &text, bool withExponent)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString num;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        num += text[i++];
    bool anyDigit = false;
    bool point = false;
    while (i < n) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            num += c;
            anyDigit = true;
        } else if (c == QLatin1Char('.') && !point) {
            num += c;
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!anyDigit)
        return 0.0;
    // The exponent counts only when digits follow it.
    if (withExponent && i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            exp += text[j++];
        int k = j;
        while (k < n && text[k].isDigit() && text[k].unicode() < 128 && k - j < 4)
            exp += text[k++];
        if (k > j)
            num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    if (!ok || std::isnan(v))
        return 0.0;
    if (std::isinf(v))
        return v > 0 ? 1e300 : -1e300;
    return v;
}

} // namespace

double leadingNumber(const QString &text)
{
    return readNumber(text, false);
}

double floatTextNumber(const QString &text)
{
    return readNumber(text, true);
}

qint64 roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    if (v > 9.0e18)
        return Q_INT64_C(9000000000000000000);
    if (v < -9.0e18)
        return -Q_INT64_C(9000000000000000000);
    const double f = std::floor(v);
    const double diff = v - f;
    qint64 r = qint64(f);
    if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0)))
        ++r;
    return r;
}

} // namespace numtext
