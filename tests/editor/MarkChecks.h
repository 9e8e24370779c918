// What the difference-mark tests look at: the marks shown and the fields by name.
#pragma once

#include "core/FieldTable.h"
#include "ui/editor/MainWindow.h"

#include <QWidget>

// The diamonds shown on the window's controls.
inline int badges(const MainWindow &w)
{
    return int(w.findChildren<QWidget *>(QStringLiteral("differenceMark")).size());
}

inline const fields::Field &field(const QString &name)
{
    for (const fields::Field &f : fields::table())
        if (f.name == name)
            return f;
    qFatal("no field %s", qPrintable(name));
}
