#include "archive/ArchiveSettings.h"

#include "archive/Archive.h"

#include <QSettings>

namespace archive
{

namespace
{
const QString kKeep = QStringLiteral("archive/keep");
const QString kFolder = QStringLiteral("archive/folder");
const QString kWorkshop = QStringLiteral("archive/workshop");
} // namespace

QString Settings::archiveFolder() const
{
    return folder.isEmpty() ? Archive::defaultFolder() : folder;
}

Settings Settings::load()
{
    const QSettings stored;
    Settings s;
    s.keep = stored.value(kKeep, true).toBool();
    s.folder = stored.value(kFolder).toString();
    s.workshop = stored.value(kWorkshop).toString();
    return s;
}

void Settings::save() const
{
    QSettings stored;
    stored.setValue(kKeep, keep);
    stored.setValue(kFolder, folder);
    stored.setValue(kWorkshop, workshop);
}

} // namespace archive
