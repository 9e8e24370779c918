#include "core/factory/ProgramModules.h"

#include "core/factory/CodeImageFile.h"
#include "core/factory/FactoryAnswers.h"
#include "core/factory/FactoryText.h"

#include <QDir>
#include <QFileInfo>

namespace factory
{

const QVector<ProgramModule> &programModules()
{
    static const QVector<ProgramModule> modules = {
        {QStringLiteral("CommandMode.COD"), 19072},          {QStringLiteral("IspSerialLoader.COD"), 16384},
        {QStringLiteral("HiLoEditor.COD"), 17216},           {QStringLiteral("CalibrationEditor.COD"), 17472},
        {QStringLiteral("EditTachoSensitivity.COD"), 17728}, {QStringLiteral("DampingEditor.COD"), 17984},
        {QStringLiteral("TimeAlarmsEditor.COD"), 18240},     {QStringLiteral("ShoBackgroundAlarms.COD"), 18752},
        {QStringLiteral("Lumisk_UoM_Editor.COD"), 19584},    {QStringLiteral("KeelOffsetEditor.COD"), 20096},
    };
    return modules;
}

FileResult<QVector<LoadedModule>> loadProgramModules(const QString &folder)
{
    using Result = FileResult<QVector<LoadedModule>>;
    const QDir dir(folder);
    QVector<LoadedModule> loaded;
    for (const ProgramModule &m : programModules()) {
        const QString path = dir.filePath(m.fileName);
        if (!QFileInfo::exists(path))
            return Result::fail(QStringLiteral("The program module %1 is missing from %2.")
                                    .arg(m.fileName, QDir::toNativeSeparators(dir.absolutePath())));
        const auto image = CodeImageFile::read(path);
        if (!image.ok())
            return Result::fail(image.error);
        const Checked target = checkCodeTarget(m.address, image.value.sectorCount());
        if (!target.ok)
            return Result::fail(QStringLiteral("%1 (%2 for %3): %4")
                                    .arg(m.fileName, sectorsText(image.value.sectorCount()), QString::number(m.address),
                                         target.message));
        loaded.append({m, image.value});
    }
    // Each module must end before the next one up begins, or writing it would damage that one.
    for (const LoadedModule &a : loaded) {
        const int end = a.module.address + a.image.sectorCount() * proto::kSectorSize;
        for (const LoadedModule &b : loaded)
            if (b.module.address > a.module.address && b.module.address < end)
                return Result::fail(QStringLiteral("%1 has %2: from %3 it would run into %4 at %5.")
                                        .arg(a.module.fileName, sectorsText(a.image.sectorCount()),
                                             QString::number(a.module.address), b.module.fileName,
                                             QString::number(b.module.address)));
    }
    return Result::success(loaded);
}

} // namespace factory
