#include "FileTimes.h"

#include "core/ConfigFile.h"
#include "core/Defaults.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

FileTimes measureFileTimes(int rounds)
{
    FileTimes t;
    t.rounds = rounds;
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("BENCH.CFG"));
    EditorState state;
    writeDefaultsToRam(state);

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        if (!writeConfigFile(state, path).isEmpty())
            return t;
    t.saveSeconds = timer.nsecsElapsed() / 1e9 / rounds;
    t.bytes = QFileInfo(path).size();

    timer.restart();
    for (int i = 0; i < rounds; ++i) {
        auto image = std::make_unique<ConfigFileImage>();
        memcpy(image->curves, state.calCurve, sizeof image->curves);
        if (!readConfigFile(path, *image).ok)
            return t;
        applyConfigFile(state, *image);
    }
    t.loadSeconds = timer.nsecsElapsed() / 1e9 / rounds;
    t.ok = true;
    return t;
}
