#include "core/factory/SerialNumber.h"

#include "core/factory/FactoryAnswers.h"

#include <algorithm>

namespace factory
{

SerialBytes serialNumberBytes(qint64 s)
{
    const qint64 y = s / 10000000;
    qint64 r = s - y * 10000000;
    const qint64 mm = r / 100000;
    r -= mm * 100000;
    const qint64 dd = r / 1000;
    const qint64 nnn = std::min<qint64>(r - dd * 1000, 255);
    return {quint8(y), quint8(mm), quint8(dd), quint8(nnn)};
}

SerialSplit splitSerialNumber(const QString &answer)
{
    SerialSplit out;
    const qint64 s = answerNumber(answer);
    if (s <= 69999999)
        return out;
    if (s > 2147483647) {
        out.message = QStringLiteral("The serial number %1 is too large: a serial number is written YMMDDnnn.").arg(s);
        return out;
    }
    out.ok = true;
    out.bytes = serialNumberBytes(s);
    return out;
}

} // namespace factory
