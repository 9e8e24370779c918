// The program modules "Make NEW Brevo" writes into a new unit's 24C512, and the check that all of them are ready.
#pragma once

#include "core/factory/CodeImage.h"
#include "core/factory/FactoryResult.h"

#include <QVector>

namespace factory
{

struct ProgramModule {
    QString fileName; // a .COD file in the program folder
    int address;      // its place in the 24C512
};

// The ten modules in the order they are written: "CommandMode.COD" to 19072 first,
// "IspSerialLoader.COD" to 16384 second, ... "KeelOffsetEditor.COD" to 20096 last.
const QVector<ProgramModule> &programModules();

struct LoadedModule {
    ProgramModule module;
    CodeImage image;
};

// Reads all ten module files from `folder` before anything is sent. Returns the first
// problem: a missing or unreadable file, a malformed one (file and line named), a
// module that does not fit at its address, or one that would run into the module
// placed after it.
FileResult<QVector<LoadedModule>> loadProgramModules(const QString &folder);

} // namespace factory
