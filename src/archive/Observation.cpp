#include "archive/Observation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <algorithm>
#include <cstring>

namespace archive
{

Parts Parts::all()
{
    Parts p;
    p.settings = p.curves = true;
    p.configurations.fill(true);
    return p;
}

bool Parts::any() const
{
    if (settings || curves)
        return true;
    for (bool c : configurations)
        if (c)
            return true;
    return false;
}

Parts Parts::operator&(const Parts &other) const
{
    Parts p;
    p.settings = settings && other.settings;
    p.curves = curves && other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] && other.configurations[i];
    return p;
}

Parts Parts::operator|(const Parts &other) const
{
    Parts p;
    p.settings = settings || other.settings;
    p.curves = curves || other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] || other.configurations[i];
    return p;
}

Parts Parts::without(const Parts &other) const
{
    Parts p;
    p.settings = settings && !other.settings;
    p.curves = curves && !other.curves;
    for (int i = 0; i < 16; ++i)
        p.configurations[i] = configurations[i] && !other.configurations[i];
    return p;
}

bool Parts::operator==(const Parts &other) const
{
    return settings == other.settings && curves == other.curves && configurations == other.configurations;
}

namespace
{
// "1-3 and 5" for the display configurations listed.
QString configurationRanges(const std::array<bool, 16> &c)
{
    QStringList ranges;
    for (int i = 0; i < 16; ++i) {
        if (!c[i])
            continue;
        int j = i;
        while (j + 1 < 16 && c[j + 1])
            ++j;
        ranges << (i == j ? QString::number(i + 1) : QStringLiteral("%1-%2").arg(i + 1).arg(j + 1));
        i = j;
    }
    if (ranges.size() <= 1)
        return ranges.join(QString());
    const QString last = ranges.takeLast();
    return ranges.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
} // namespace

QString Parts::describe() const
{
    QStringList words;
    if (settings)
        words << QStringLiteral("settings");
    const int count = int(std::count(configurations.begin(), configurations.end(), true));
    if (count > 0)
        words << (count == 1 ? QStringLiteral("display configuration ") : QStringLiteral("display configurations ")) +
                     configurationRanges(configurations);
    if (curves)
        words << QStringLiteral("sender curves");
    return words.isEmpty() ? QStringLiteral("nothing") : words.join(QStringLiteral(", "));
}

QJsonObject Parts::toJson() const
{
    QJsonArray list;
    for (int i = 0; i < 16; ++i)
        if (configurations[i])
            list.append(i + 1);
    return QJsonObject{{QStringLiteral("settings"), settings},
                       {QStringLiteral("displayConfigurations"), list},
                       {QStringLiteral("senderCurves"), curves}};
}

Parts Parts::fromJson(const QJsonObject &object)
{
    Parts p;
    p.settings = object.value(QStringLiteral("settings")).toBool();
    p.curves = object.value(QStringLiteral("senderCurves")).toBool();
    for (const QJsonValue v : object.value(QStringLiteral("displayConfigurations")).toArray()) {
        const int n = v.toInt();
        if (n >= 1 && n <= 16)
            p.configurations[n - 1] = true;
    }
    return p;
}

ConfigImage overlay(const ConfigImage &base, const ConfigImage &from, const Parts &parts)
{
    ConfigImage out = base;
    if (parts.settings)
        std::memcpy(out.system, from.system, sizeof out.system);
    for (int n = 1; n <= 16; ++n)
        if (parts.configurations[n - 1])
            std::memcpy(out.blocks[n], from.blocks[n], sizeof out.blocks[n]);
    if (parts.curves)
        std::memcpy(out.curves, from.curves, sizeof out.curves);
    return out;
}

QString outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Completed:
        return QStringLiteral("completed");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    case Outcome::Failed:
        break;
    }
    return QStringLiteral("failed");
}

namespace
{
Outcome outcomeFromName(const QString &name)
{
    if (name == QLatin1String("completed"))
        return Outcome::Completed;
    return name == QLatin1String("cancelled") ? Outcome::Cancelled : Outcome::Failed;
}
} // namespace

QByteArray entryJson(const Observation &o, const QString &id)
{
    QJsonArray units;
    for (const QString &u : o.identity.unitVersions)
        units.append(u);
    const QJsonObject identity{{QStringLiteral("serialNumber"), o.identity.serialNumber},
                               {QStringLiteral("softwareVersion"), o.identity.softwareVersion},
                               {QStringLiteral("hardwareVersion"), o.identity.hardwareVersion},
                               {QStringLiteral("productCode"), int(o.identity.productCode)},
                               {QStringLiteral("unitVersions"), units}};
    QJsonObject root{{QStringLiteral("id"), id},
                     {QStringLiteral("instrument"), identity},
                     {QStringLiteral("operation"), o.operation},
                     {QStringLiteral("outcome"), outcomeName(o.outcome)},
                     {QStringLiteral("time"), o.time.toUTC().toString(Qt::ISODateWithMs)},
                     {QStringLiteral("user"), o.user},
                     {QStringLiteral("host"), o.host},
                     {QStringLiteral("editorVersion"), o.editorVersion},
                     {QStringLiteral("sourceFile"), o.sourceFile},
                     {QStringLiteral("port"), o.port},
                     {QStringLiteral("known"), o.known.toJson()},
                     {QStringLiteral("written"), o.written.toJson()}};
    if (!o.outcomeText.isEmpty())
        root.insert(QStringLiteral("outcomeText"), o.outcomeText);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool entryFromJson(const QByteArray &text, Entry &entry)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (!doc.isObject())
        return false;
    const QJsonObject root = doc.object();
    const QJsonObject identity = root.value(QStringLiteral("instrument")).toObject();
    Observation &o = entry.about;
    entry.id = root.value(QStringLiteral("id")).toString();
    o.identity.serialNumber = identity.value(QStringLiteral("serialNumber")).toString();
    o.identity.softwareVersion = identity.value(QStringLiteral("softwareVersion")).toString();
    o.identity.hardwareVersion = identity.value(QStringLiteral("hardwareVersion")).toString();
    o.identity.productCode = quint8(identity.value(QStringLiteral("productCode")).toInt());
    const QJsonArray units = identity.value(QStringLiteral("unitVersions")).toArray();
    for (int i = 0; i < 4; ++i)
        o.identity.unitVersions[i] = units.at(i).toString();
    o.operation = root.value(QStringLiteral("operation")).toString();
    o.outcome = outcomeFromName(root.value(QStringLiteral("outcome")).toString());
    o.outcomeText = root.value(QStringLiteral("outcomeText")).toString();
    o.time = QDateTime::fromString(root.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    o.user = root.value(QStringLiteral("user")).toString();
    o.host = root.value(QStringLiteral("host")).toString();
    o.editorVersion = root.value(QStringLiteral("editorVersion")).toString();
    o.sourceFile = root.value(QStringLiteral("sourceFile")).toString();
    o.port = root.value(QStringLiteral("port")).toString();
    o.known = Parts::fromJson(root.value(QStringLiteral("known")).toObject());
    o.written = Parts::fromJson(root.value(QStringLiteral("written")).toObject());
    return !entry.id.isEmpty();
}

QString instrumentFolder(const QString &serialNumber)
{
    const QString serial = serialNumber.trimmed();
    if (serial == QLatin1String("0"))
        return QStringLiteral("erased");
    if (serial.isEmpty() || serial.compare(QLatin1String("Unknown"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("unidentified");
    QString safe;
    for (const QChar c : serial)
        safe += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') || c == QLatin1Char('.')
                    ? c
                    : QLatin1Char('_');
    if (safe.startsWith(QLatin1Char('.')))
        safe[0] = QLatin1Char('_');
    return QStringLiteral("instruments/") + safe;
}

} // namespace archive
