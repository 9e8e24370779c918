// The ssh host key check libgit2 1.5 leaves to its caller: the workshop server's
// key must be the one OpenSSH's known_hosts files name for it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace archive
{

enum class HostKey { Known, Unknown, Changed };

// Checks the server's raw public key (as sent: type name, then the key) against the
// lines of `files` for any of `names` ("server", or "[server]:2222" on another port).
// Plain and hashed ("|1|salt|hash") host names, "*" and "?" patterns, "@revoked".
HostKey checkHostKey(const QStringList &files, const QStringList &names, const QByteArray &key);

// The names known_hosts keeps for the host of an ssh URL ("ssh://git@server:2222/x",
// "git@server:x"); empty for anything else.
QStringList hostNames(const QString &url);

// The user's and the system's known_hosts files.
QStringList knownHostsFiles();

} // namespace archive
