// Which device a port number COMn opens: the Windows port, or a COMn entry in the working folder, or a system port.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// On Windows, COMn is the system port "COMn".
//
// Elsewhere, COMn is
//  1. the entry named "COMn" in the folder the editor works in, when there is one
//     (a symbolic link to /dev/ttyUSB0, to the simulated instrument's
//     pseudo-terminal, ...), even a dangling one, so a missing target is reported
//     rather than silently replaced by another port. That folder is the program
//     folder, or for an installed program the per-user data folder, the one that
//     holds DEFAULT.CFG (see chooseWorkingFolder);
//  2. otherwise the next system serial port not already named by such an entry,
//     numbers without an entry being filled in ascending order from the system
//     ports sorted as: ttyUSB*, then ttyACM*, then ttyS*, then any others, each
//     group in natural order (ttyUSB2 before ttyUSB10).
// Example: folder entry COM1 -> /dev/pts/3, system ports ttyS0, ttyUSB0: COM1 is
// the folder entry, COM2 /dev/ttyUSB0, COM3 /dev/ttyS0, COM4.. none.
class PortResolver
{
public:
    static constexpr int kChooserPorts = 16;

    // `programFolder`: the editor's own folder; COMn entries are looked for in the
    // working folder chosen for it.
    explicit PortResolver(const QString &programFolder);

    // The device for port number n, or an empty string when there is none (n = 0
    // is "None").
    QString device(int n) const;
    // For the port chooser: entry n (1..16) is the device COMn resolves to, empty
    // when none; entry 0 is empty. One scan of the system's ports for all of them.
    QStringList chooserDevices() const;

    // The system's serial ports as device paths, in the order above. Replaceable for
    // tests; by default read from QSerialPortInfo.
    std::function<QStringList()> systemPorts;
    // Sorts device paths into the order above.
    static QStringList sortedPorts(QStringList devices);

private:
    QStringList resolveAll(int upTo) const;
    QString folderEntry(int n) const;

    QString m_folder;
};
