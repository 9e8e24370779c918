// Whether the archive is kept, where, and the workshop repository it is shared with:
// the editor's settings, read by the command line too.
#pragma once

#include <QString>

namespace archive
{

struct Settings {
    bool keep = true;
    QString folder;   // empty: Archive::defaultFolder()
    QString workshop; // a folder (a network share) or an ssh URL; empty: none

    // The folder the archive is kept in.
    QString archiveFolder() const;

    static Settings load();
    void save() const;
};

} // namespace archive
