// Where the built corvane-sim program is, for the tests that run it on a pseudo-terminal.
#pragma once

#include <QString>
#include <QtGlobal>

inline QString simProgramPath()
{
    QString dir = qEnvironmentVariable("CORVANE_BIN_DIR");
    if (dir.isEmpty())
        dir = QStringLiteral(CORVANE_BIN_DIR);
    return dir + QStringLiteral("/corvane-sim");
}
