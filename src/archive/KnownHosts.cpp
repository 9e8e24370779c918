#include "archive/KnownHosts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <QUrl>

namespace archive
{

namespace
{

// The key type a key blob starts with ("ssh-ed25519").
QByteArray keyType(const QByteArray &blob)
{
    if (blob.size() < 4)
        return {};
    const int length = (quint8(blob[0]) << 24) | (quint8(blob[1]) << 16) | (quint8(blob[2]) << 8) | quint8(blob[3]);
    return length > 0 && length <= blob.size() - 4 ? blob.mid(4, length) : QByteArray();
}

bool patternMatches(const QString &pattern, const QString &name)
{
    if (pattern.startsWith(QLatin1String("|1|"))) {
        const QStringList parts = pattern.split(QLatin1Char('|'));
        if (parts.size() != 4)
            return false;
        const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
        return QMessageAuthenticationCode::hash(name.toLower().toUtf8(), salt, QCryptographicHash::Sha1) ==
               QByteArray::fromBase64(parts[3].toLatin1());
    }
    if (!pattern.contains(QLatin1Char('*')) && !pattern.contains(QLatin1Char('?')))
        return pattern.compare(name, Qt::CaseInsensitive) == 0;
    const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
    return wildcard.match(name).hasMatch();
}

bool hostsMatch(const QString &hosts, const QStringList &names)
{
    bool matched = false;
    for (const QString &pattern : hosts.split(QLatin1Char(','), Qt::SkipEmptyParts))
        for (const QString &name : names) {
            if (pattern.startsWith(QLatin1Char('!')) && patternMatches(pattern.mid(1), name))
                return false;
            matched = matched || patternMatches(pattern, name);
        }
    return matched;
}

} // namespace

HostKey checkHostKey(const QStringList &files, const QStringList &names, const QByteArray &key)
{
    HostKey answer = HostKey::Unknown;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            QStringList fields = QString::fromUtf8(file.readLine()).simplified().split(QLatin1Char(' '));
            const bool revoked = fields.value(0) == QLatin1String("@revoked");
            if (fields.value(0).startsWith(QLatin1Char('@')) && !revoked)
                continue; // certificate authorities are not used here
            if (revoked)
                fields.removeFirst();
            if (fields.size() < 3 || fields[0].startsWith(QLatin1Char('#')) || !hostsMatch(fields[0], names))
                continue;
            const QByteArray known = QByteArray::fromBase64(fields[2].toLatin1());
            if (known == key && revoked)
                return HostKey::Changed;
            if (known == key)
                answer = HostKey::Known;
            else if (keyType(known) == keyType(key) && answer != HostKey::Known)
                answer = HostKey::Changed;
        }
    }
    return answer;
}

QStringList hostNames(const QString &url)
{
    QString host;
    int port = -1;
    if (url.contains(QLatin1String("://"))) {
        const QUrl parsed(url);
        if (parsed.scheme() != QLatin1String("ssh") && !parsed.scheme().startsWith(QLatin1String("ssh+")) &&
            !parsed.scheme().endsWith(QLatin1String("+ssh")))
            return {};
        host = parsed.host();
        port = parsed.port();
    } else {
        host = url.section(QLatin1Char(':'), 0, 0).section(QLatin1Char('@'), -1);
    }
    if (host.isEmpty())
        return {};
    return {port > 0 && port != 22 ? QStringLiteral("[%1]:%2").arg(host).arg(port) : host};
}

QStringList knownHostsFiles()
{
    return {QDir::home().filePath(QStringLiteral(".ssh/known_hosts")), QStringLiteral("/etc/ssh/ssh_known_hosts")};
}

} // namespace archive
