#include "core/factory/DecimalPointFile.h"

#include "core/Protocol.h"
#include "core/factory/FactoryText.h"

namespace factory
{
namespace
{
constexpr int kHeaderLines = 5;
}

FileResult<QByteArray> parseDecimalPoints(const QByteArray &content, const QString &fileName)
{
    using Result = FileResult<QByteArray>;
    TextLines lines(content, fileName);
    QString error;
    if (!skipLines(lines, kHeaderLines, QStringLiteral("the header"), &error))
        return Result::fail(error);
    QByteArray points;
    QString line;
    for (int e = 1; e <= kDecimalPointEntries; ++e) {
        if (!lines.next(&line))
            return Result::fail(lines.endedEarly(QStringLiteral("decimal-point entry %1 of 64 is missing").arg(e)));
        const QStringList f = splitFields(line);
        double unused = 0;
        qint64 value = 0;
        QString problem;
        if (f.size() < 2)
            return Result::fail(lines.error(QStringLiteral("decimal-point entry %1 needs a number and a byte").arg(e)));
        if (!parseNumber(f.at(0), &unused))
            return Result::fail(
                lines.error(QStringLiteral("decimal-point entry %1 should start with a number; found \"%2\"")
                                .arg(QString::number(e), f.at(0))));
        if (!parseWhole(f.at(1), 0, 255, QStringLiteral("the decimal-point byte"), &value, &problem))
            return Result::fail(lines.error(problem));
        points.append(char(value));
    }
    if (!readClosingNumber(lines, QStringLiteral("the 64 decimal-point entries"), &error))
        return Result::fail(error);
    return Result::success(points);
}

FileResult<QByteArray> readDecimalPoints(const QString &path)
{
    const auto file = readWholeFile(path);
    if (!file.ok())
        return FileResult<QByteArray>::fail(file.error);
    return parseDecimalPoints(file.value, shortName(path));
}

EepromBlock decimalPointBlock(const QByteArray &points)
{
    return {proto::kDecimalPointTable, points};
}

} // namespace factory
