// A fresh, empty program folder for one test, removed afterwards.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TempProgramFolder
{
public:
    TempProgramFolder() { m_dir.setAutoRemove(true); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    bool exists(const QString &name) const { return QFile::exists(file(name)); }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool write(const QString &name, const QByteArray &content) const
    {
        QFile f(file(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
    }

private:
    QTemporaryDir m_dir;
};
