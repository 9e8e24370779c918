#include "link/PortResolver.h"

#include "core/StartUp.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

namespace
{
QStringList availableSystemPorts()
{
    QStringList ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    return ports;
}

// Natural order: runs of digits compare by value ("ttyUSB2" before "ttyUSB10").
bool naturalLess(const QString &a, const QString &b)
{
    int i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            const qulonglong na = a.mid(i, ei - i).toULongLong();
            const qulonglong nb = b.mid(j, ej - j).toULongLong();
            if (na != nb)
                return na < nb;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

int groupOf(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    if (name.startsWith(QLatin1String("ttyUSB")))
        return 0;
    if (name.startsWith(QLatin1String("ttyACM")))
        return 1;
    if (name.startsWith(QLatin1String("ttyS")))
        return 2;
    return 3;
}
} // namespace

PortResolver::PortResolver(const QString &programFolder)
    : systemPorts(availableSystemPorts), m_folder(chooseWorkingFolder(programFolder))
{
}

QStringList PortResolver::sortedPorts(QStringList devices)
{
    std::stable_sort(devices.begin(), devices.end(), [](const QString &a, const QString &b) {
        const int ga = groupOf(a), gb = groupOf(b);
        if (ga != gb)
            return ga < gb;
        return naturalLess(a, b);
    });
    devices.removeDuplicates();
    return devices;
}

QString PortResolver::folderEntry(int n) const
{
    const QString path = QDir(m_folder).absoluteFilePath(QStringLiteral("COM%1").arg(n));
    const QFileInfo info(path);
    return (info.exists() || info.isSymLink()) ? path : QString();
}

QStringList PortResolver::resolveAll(int upTo) const
{
    QStringList result(upTo + 1);
#ifdef Q_OS_WIN
    for (int n = 1; n <= upTo; ++n)
        result[n] = QStringLiteral("COM%1").arg(n);
#else
    QStringList pool = sortedPorts(systemPorts ? systemPorts() : QStringList());
    QList<int> free;
    for (int n = 1; n <= upTo; ++n) {
        result[n] = folderEntry(n);
        if (result[n].isEmpty()) {
            free << n;
            continue;
        }
        // A device already named by a folder entry is not offered a second time.
        const QString target = QFileInfo(result[n]).canonicalFilePath();
        pool.removeAll(target);
        pool.removeAll(result[n]);
    }
    for (int i = 0; i < free.size() && i < pool.size(); ++i)
        result[free[i]] = pool[i];
#endif
    return result;
}

QString PortResolver::device(int n) const
{
    if (n < 1 || n > 255)
        return QString();
    return resolveAll(n).value(n);
}

QStringList PortResolver::chooserDevices() const
{
    return resolveAll(kChooserPorts);
}
