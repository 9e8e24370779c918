// A configuration file's lines without its date line, for comparing two files that
// were written at different times.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace kit
{

inline QList<QByteArray> linesWithoutDate(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    lines.removeAt(2); // "Date created: ..."
    return lines;
}

} // namespace kit
