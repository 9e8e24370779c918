// The commands that need no instrument: the HEX to .COD conversion and the port list.
#include "cli/Commands.h"
#include "core/ConfigFile.h"

#include "core/StartUp.h"
#include "core/factory/CodeImageFile.h"
#include "core/factory/HexFile.h"
#include "link/PortResolver.h"

#include <QDir>
#include <QFileInfo>

namespace cli
{

int hexToCod(Invocation &in)
{
    const QString hexPath = in.arguments.at(0);
    const QString codPath = in.arguments.at(1);
    const auto image = factory::readHexFile(hexPath);
    if (!image.ok()) {
        in.console.note(image.error + QStringLiteral("\nNo .COD file was written."));
        return kExitRefused;
    }
    const QString problem = factory::CodeImageFile::write(codPath, image.value);
    if (!problem.isEmpty()) {
        in.console.note(problem);
        return kExitRefused;
    }
    const int sectors = image.value.sectorCount();
    in.console.result(QStringLiteral("%1: %2 sector%3 of 64 bytes (flash addresses %4 to %5) written to %6.")
                          .arg(QFileInfo(hexPath).fileName())
                          .arg(sectors)
                          .arg(sectors == 1 ? QString() : QStringLiteral("s"))
                          .arg(proto::kFlashCodeAddress)
                          .arg(proto::kFlashCodeAddress + 64 * sectors - 1)
                          .arg(shownPath(codPath)));
    return kExitDone;
}

int ports(Invocation &in)
{
    PortResolver resolver(in.host.programFolder);
    if (in.host.systemPorts)
        resolver.systemPorts = in.host.systemPorts;
    const QStringList devices = resolver.chooserDevices();
    QString text = QStringLiteral("COMn entries are looked for in %1\n")
                       .arg(QDir::toNativeSeparators(chooseWorkingFolder(in.host.programFolder)));
    for (int n = 1; n <= PortResolver::kChooserPorts; ++n) {
        const QString device = devices.value(n);
        QString shown = device.isEmpty() ? QStringLiteral("(none)") : QDir::toNativeSeparators(device);
        const QFileInfo info(device);
        if (!device.isEmpty() && info.isSymLink())
            shown += QStringLiteral(" -> ") + QDir::toNativeSeparators(info.symLinkTarget()) +
                     (info.exists() ? QString() : QStringLiteral(" (missing)"));
        text += QStringLiteral("COM%1 %2\n").arg(n, -2).arg(shown);
    }
    in.console.result(text.trimmed());
    return kExitDone;
}

} // namespace cli
