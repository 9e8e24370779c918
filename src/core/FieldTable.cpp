#include "core/FieldTable.h"
#include "core/FieldTableBuild.h"

#include "core/NumberText.h"

#include <QStringList>
#include <cstring>

namespace fields
{
namespace
{

const quint8 *bytesOf(const Field &f, const ConfigImage &m)
{
    return f.area == Area::System ? m.system + f.offset : m.blocks[f.index] + f.offset;
}

Line lineFor(const Field &f, const ConfigImage &before, const ConfigImage &after, const ConfigImage &units)
{
    Line line{f.group, f.name, f.shown(before, units), f.shown(after, units), differs(f, before, after)};
    if (line.differs && line.oldText == line.newText) {
        line.oldText = rawText(f, before);
        line.newText = rawText(f, after);
    }
    return line;
}

} // namespace

QString groupName(int group)
{
    if (group >= kConfiguration1 && group < kConfiguration1 + 16)
        return QStringLiteral("Display configuration %1").arg(group - kConfiguration1 + 1);
    switch (group) {
    case kAlarmsAndLimits:
        return QStringLiteral("Alarms and limits");
    case kUnitsAndSettings:
        return QStringLiteral("Units and settings");
    case kTanks:
        return QStringLiteral("Tanks");
    case kDamping:
        return QStringLiteral("Damping");
    case kTimeOfDayAlarms:
        return QStringLiteral("Time-of-day alarms");
    case kNmea:
        return QStringLiteral("NMEA");
    case kSenderCurves:
        return QStringLiteral("Sender curves");
    default:
        return QString();
    }
}

const std::vector<Field> &table()
{
    static const std::vector<Field> fields = buildTable();
    return fields;
}

bool differs(const Field &f, const ConfigImage &a, const ConfigImage &b)
{
    if (f.area == Area::Port)
        return a.comPort != ConfigImage::kPortNotKnown && b.comPort != ConfigImage::kPortNotKnown &&
               a.comPort != b.comPort;
    if (f.area == Area::Curve)
        return std::memcmp(a.curves[f.index][f.offset], b.curves[f.index][f.offset], sizeof a.curves[0][0]) != 0;
    const quint8 *x = bytesOf(f, a);
    const quint8 *y = bytesOf(f, b);
    if (f.length == 1)
        return ((x[0] ^ y[0]) & f.mask) != 0;
    return std::memcmp(x, y, size_t(f.length)) != 0;
}

QString rawText(const Field &f, const ConfigImage &m)
{
    if (f.area == Area::Port)
        return QString::number(m.comPort);
    if (f.area == Area::Curve)
        return QStringLiteral("ohms %1, value %2")
            .arg(numtext::floatText(m.curves[f.index][f.offset][1]),
                 numtext::floatText(m.curves[f.index][f.offset][2]));
    const quint8 *bytes = bytesOf(f, m);
    if (f.length == 1)
        return QString::number(bytes[0] & f.mask);
    QStringList parts;
    for (int i = 0; i < f.length; ++i)
        parts << QString::number(bytes[i]);
    return parts.join(QStringLiteral(", "));
}

std::vector<Line> differences(const ConfigImage &before, const ConfigImage &after, const ConfigImage &units)
{
    std::vector<Line> lines;
    for (const Field &f : table())
        if (!f.derived && differs(f, before, after))
            lines.push_back(lineFor(f, before, after, units));
    return lines;
}

std::vector<Line> everything(const ConfigImage &before, const ConfigImage &after, const ConfigImage &units)
{
    std::vector<Line> lines;
    lines.reserve(table().size());
    for (const Field &f : table())
        if (!f.derived)
            lines.push_back(lineFor(f, before, after, units));
    return lines;
}

QString changeName(const ConfigImage &before, const ConfigImage &after)
{
    int count = 0;
    const Field *first = nullptr;
    for (const Field &f : table()) {
        if (f.derived || f.kind != Kind::Value || !differs(f, before, after))
            continue;
        if (!first)
            first = &f;
        ++count;
    }
    if (count == 0)
        return QString();
    return count == 1 ? first->name : QStringLiteral("%1 changes").arg(count);
}

} // namespace fields
