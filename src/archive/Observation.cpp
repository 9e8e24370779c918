#include "archive/Observation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstring>

namespace archive
{

QJsonObject partsJson(const Parts &parts)
{
    QJsonArray list;
    for (int i = 0; i < 16; ++i)
        if (parts.configurations[i])
            list.append(i + 1);
    return QJsonObject{{QStringLiteral("settings"), parts.settings},
                       {QStringLiteral("displayConfigurations"), list},
                       {QStringLiteral("senderCurves"), parts.curves}};
}

Parts partsFromJson(const QJsonObject &object)
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
                     {QStringLiteral("known"), partsJson(o.known)},
                     {QStringLiteral("written"), partsJson(o.written)}};
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
    o.known = partsFromJson(root.value(QStringLiteral("known")).toObject());
    o.written = partsFromJson(root.value(QStringLiteral("written")).toObject());
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
