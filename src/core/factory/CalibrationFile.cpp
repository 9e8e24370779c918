#include "core/factory/CalibrationFile.h"

#include "core/NumberText.h"

#include "core/Protocol.h"
#include "core/factory/FactoryText.h"

namespace factory
{
namespace
{

constexpr int kPointsPerCurve = 32;
constexpr int kBytesPerPoint = 4;
constexpr int kSkippedLines = 3;
constexpr int kFieldsPerPoint = 8;
constexpr int kMaxCurves = 32;
constexpr int kLastCurveSlot = proto::kCurveBase + proto::kCurveSize * (kMaxCurves - 1);

} // namespace

QString calibrationFileName()
{
    return QStringLiteral("CALCURVS.DAT");
}

FileResult<QVector<EepromBlock>> parseCalibrationFile(const QByteArray &content, const QString &fileName)
{
    using Result = FileResult<QVector<EepromBlock>>;
    TextLines lines(content, fileName);
    QString line;
    QString problem;
    if (!lines.next(&line))
        return Result::fail(lines.endedEarly(QStringLiteral("line 1 should give the number of curves")));
    const QStringList head = splitFields(line);
    qint64 curves = 0;
    if (!parseWhole(head.value(0), 1, kMaxCurves, QStringLiteral("the number of curves"), &curves, &problem))
        return Result::fail(lines.error(problem));

    QVector<EepromBlock> blocks;
    for (int c = 1; c <= curves; ++c) {
        for (int s = 0; s < kSkippedLines; ++s)
            if (!lines.next(&line))
                return Result::fail(
                    lines.endedEarly(QStringLiteral("curve %1 of %2 is missing (three lines before its 32 point lines)")
                                         .arg(c)
                                         .arg(curves)));
        EepromBlock block;
        for (int j = 1; j <= kPointsPerCurve; ++j) {
            if (!lines.next(&line))
                return Result::fail(
                    lines.endedEarly(QStringLiteral("curve %1 has only %2 of its 32 point lines").arg(c).arg(j - 1)));
            const QStringList f = splitFields(line);
            if (f.size() != kFieldsPerPoint)
                return Result::fail(lines.error(
                    QStringLiteral("a point line of curve %1 needs eight fields (point, address, two numbers, four "
                                   "bytes); found %2")
                        .arg(c)
                        .arg(f.size())));
            qint64 v = 0;
            double unused = 0;
            if (!parseWhole(f.at(0), 0, 255, QStringLiteral("the point number"), &v, &problem) ||
                !parseWhole(f.at(1), 0, 65535, QStringLiteral("the 24C512 address"), &v, &problem))
                return Result::fail(lines.error(problem));
            if (j == 1) {
                // Curves belong in the curve table; anywhere else they would overwrite
                // the instrument's logs, NMEA tables or program modules.
                if (v < proto::kCurveBase || v > kLastCurveSlot || (v - proto::kCurveBase) % proto::kCurveSize != 0)
                    return Result::fail(lines.error(
                        QStringLiteral("curve start address %1 is not a curve slot (12288, 12416, ... 16256)").arg(v)));
                for (int k = 0; k < blocks.size(); ++k)
                    if (blocks.at(k).address == v)
                        return Result::fail(
                            lines.error(QStringLiteral("curve %1 starts at %2, where curve %3 starts already")
                                            .arg(c)
                                            .arg(v)
                                            .arg(k + 1)));
                block.address = int(v);
            }
            for (int u = 2; u <= 3; ++u)
                if (!parseNumber(f.at(u), &unused))
                    return Result::fail(
                        lines.error(QStringLiteral("field %1 \"%2\" is not a number")
                                        .arg(QString::number(u + 1), numtext::printablePrefix(f.at(u)))));
            for (int b = 0; b < kBytesPerPoint; ++b) {
                if (!parseWhole(f.at(4 + b), 0, 255, QStringLiteral("data byte %1").arg(b + 1), &v, &problem))
                    return Result::fail(lines.error(problem));
                block.bytes.append(char(v));
            }
        }
        blocks.append(block);
    }
    return Result::success(blocks);
}

FileResult<QVector<EepromBlock>> readCalibrationFile(const QString &path)
{
    const auto file = readWholeFile(path);
    if (!file.ok())
        return FileResult<QVector<EepromBlock>>::fail(file.error);
    return parseCalibrationFile(file.value, shortName(path));
}

} // namespace factory
