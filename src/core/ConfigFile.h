// The ".CFG" configuration file: writing the image as text and reading it back safely.
#pragma once

#include "core/EditorState.h"
#include "core/ImageLayout.h"

#include <QDateTime>
#include <QString>

// Everything a configuration file holds, read into its own storage first so that
// a bad file never leaves a half-loaded image behind.
struct ConfigFileImage {
    QString headerLines[6]; // 1..5
    quint8 comPort = 0;
    quint8 system[layout::kSystemBytes] = {};
    quint8 blocks[17][layout::kBlockBytes] = {};
    float curves[33][33][3] = {};
};

struct ConfigReadResult {
    bool ok = false;
    int line = 0;    // line of the problem (1-based), 0 when the file could not be opened
    QString problem; // what was wrong, in words a user understands
};

// The configuration file text for the image, CR LF line ends, 3351 lines. Sets the
// checksum bytes of the image (system block byte 0, byte 0 of each block) first:
// they stay in the image.
QByteArray configFileText(EditorState &state, const QDateTime &created);

// Writes the image to `path` through a temporary file and a rename: a failed save
// leaves any old file whole. Returns an empty string on success, else the reason.
QString writeConfigFile(EditorState &state, const QString &path,
                        const QDateTime &created = QDateTime::currentDateTime());

// Reads a configuration file into `image`. Fields are read as the file stream
// goes; on a failure `image` holds what was read up to it (curve points read before
// the failure count at start-up) and the result names the line and the problem.
// `image.curves` should start as the image's current curves.
ConfigReadResult readConfigFile(const QString &path, ConfigFileImage &image);
// The same for the text of a file already in memory.
ConfigReadResult parseConfigFile(const QByteArray &content, ConfigFileImage &image);

// True when each sender type byte of the system block has a position in its sender
// list (a type below a list's range selects "0:  None"; one beyond its last entry has
// none). Start-up refuses a default file that fails this; Open shows "0:  None".
bool senderTypesHavePositions(const quint8 *system);

// Copies a successfully read file into the image: port number, system block bytes
// 0..255 (byte 256 is kept), byte 6 forced to 1, the display blocks, the curves, the
// header lines; positions the sender lists.
void applyConfigFile(EditorState &state, const ConfigFileImage &image);

// A user-facing description of a read failure.
QString describeReadFailure(const QString &path, const ConfigReadResult &result);
// A file's full path as messages show it (native separators).
QString shownPath(const QString &path);
