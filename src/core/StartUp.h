// The image-side steps of start-up: state reset, the working folder, loading DEFAULT.CFG or falling back.
#pragma once

#include <QString>

struct EditorState;

// Resets the state flags every start-up run resets; on the first run also the
// identification texts, the transfer categories and the loaded curve.
void resetStartupState(EditorState &state, bool firstRun);

// The folder the editor works in: the program's own folder, or, when that cannot
// be written (an installed program), the per-user application data folder.
// `usedFallback` tells which.
QString chooseWorkingFolder(const QString &programFolder, bool *usedFallback = nullptr);

struct DefaultLoadOutcome {
    bool loaded = false; // the file was read; otherwise the defaults were loaded
    QString saveError;   // non-empty when the defaults could not be written
    QString path;        // the absolute path of the default file
};

// Loads `fileName` (normally "DEFAULT.CFG") into the image. On any failure -
// missing, short or malformed file, a byte that does not fit, a sender type with no
// list position - loads the factory defaults instead (curves read before the
// failure whose point 2 is not 0 survive), sets the port number to 0 and writes the
// defaults to the file. Nothing is shown; the caller reports a failed write.
DefaultLoadOutcome loadDefaultConfiguration(EditorState &state, const QString &fileName);
