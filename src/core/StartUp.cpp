#include "core/StartUp.h"

#include "core/ConfigFile.h"
#include "core/Defaults.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstring>

void resetStartupState(EditorState &state, bool firstRun)
{
    state.VersionText = QStringLiteral("Ver 1.0.3");
    state.NewUnitMode = false;
    state.AskUser = true;
    state.NewUnitUploadPending = false;
    state.ConfigFileName = QStringLiteral("DEFAULT.CFG");
    state.NmeaTableFileName = QStringLiteral("NVMNMEAG.DAT");
    state.DecimalPointsFileName = QStringLiteral("DECPTSA.DAT");
    state.FactoryArmed = false;
    state.TimedOut = false;
    state.Connected = false;
    state.ExitPrompted = 0;
    if (!firstRun)
        return;
    state.SerialNumberText = state.SoftwareVersionText = state.HardwareVersionText = QStringLiteral("Unknown");
    for (QString &t : state.UnitVersionText)
        t = QStringLiteral("Unknown");
    const EditorState fresh;
    std::memcpy(state.UploadCategory, fresh.UploadCategory, sizeof state.UploadCategory);
    std::memcpy(state.DownloadCategory, fresh.DownloadCategory, sizeof state.DownloadCategory);
    state.EditCurveNumber = 99;
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
    std::memcpy(image.curves, state.CalCurve, sizeof image.curves);
    const ConfigReadResult read = readConfigFile(fileName, image);
    if (read.ok && senderTypesHavePositions(image.system)) {
        applyConfigFile(state, image);
        outcome.loaded = true;
        return outcome;
    }
    // Curves read before the failure stay, as they would have been read in place.
    std::memcpy(state.CalCurve, image.curves, sizeof state.CalCurve);
    WriteDefaultsToRam(state);
    state.ComPortNumber = 0;
    outcome.saveError = writeConfigFile(state, fileName);
    return outcome;
}
