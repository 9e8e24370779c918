#include "core/StartUp.h"

#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "core/EditorState.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstring>

void resetStartupState(EditorState &state, bool firstRun)
{
    state.session.versionText = QStringLiteral("Ver 1.0.3");
    state.factory.newUnitMode = false;
    state.transfer.askUser = true;
    state.factory.newUnitUploadPending = false;
    state.session.configFileName = QStringLiteral("DEFAULT.CFG");
    state.factory.nmeaTableFileName = QStringLiteral("NVMNMEAG.DAT");
    state.factory.decimalPointsFileName = QStringLiteral("DECPTSA.DAT");
    state.factory.armed = false;
    state.link.timedOut = false;
    state.link.connected = false;
    state.session.exitPrompted = false;
    if (!firstRun)
        return;
    state.instrument.serialNumber = state.instrument.softwareVersion = state.instrument.hardwareVersion =
        QStringLiteral("Unknown");
    for (QString &t : state.instrument.unitVersions)
        t = QStringLiteral("Unknown");
    const EditorState fresh;
    std::memcpy(state.transfer.upload, fresh.transfer.upload, sizeof state.transfer.upload);
    std::memcpy(state.transfer.download, fresh.transfer.download, sizeof state.transfer.download);
    state.session.editCurveNumber = 99;
}

namespace
{
bool folderIsWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("write-test-XXXXXX")));
    return probe.open();
}
} // namespace

QString chooseWorkingFolder(const QString &programFolder, bool *usedFallback)
{
    if (usedFallback)
        *usedFallback = false;
    if (folderIsWritable(programFolder))
        return QDir(programFolder).absolutePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return QDir(programFolder).absolutePath();
    if (usedFallback)
        *usedFallback = true;
    return data;
}

DefaultLoadOutcome loadDefaultConfiguration(EditorState &state, const QString &fileName)
{
    DefaultLoadOutcome outcome;
    outcome.path = QFileInfo(fileName).absoluteFilePath();

    ConfigFileImage image;
    std::memcpy(image.curves, state.calCurve, sizeof image.curves);
    const ConfigReadResult read = readConfigFile(fileName, image);
    if (read.ok && senderTypesHavePositions(image.system)) {
        applyConfigFile(state, image);
        outcome.loaded = true;
        return outcome;
    }
    // Curves read before the failure stay, as they would have been read in place.
    std::memcpy(state.calCurve, image.curves, sizeof state.calCurve);
    writeDefaultsToRam(state);
    state.link.portNumber = 0;
    outcome.saveError = writeConfigFile(state, fileName);
    return outcome;
}
