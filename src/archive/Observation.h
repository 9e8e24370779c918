// What one operation with an instrument learnt, as the archive keeps it.
#pragma once

#include "core/ConfigImage.h"
#include "core/EditorState.h"
#include "core/ImageAreas.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace archive
{

// The parts of the image an entry knows or wrote: the settings (system block), each
// of the sixteen display configurations, the sender curves.
using Parts = ImageAreas;
QJsonObject partsJson(const Parts &parts);
Parts partsFromJson(const QJsonObject &object);

enum class Outcome { Completed, Cancelled, Failed };
QString outcomeName(Outcome outcome); // "completed", "cancelled", "failed"

// Operation names as entries keep them.
namespace operation
{
inline const QString kUpload = QStringLiteral("upload");
inline const QString kDownload = QStringLiteral("download");
inline const QString kVerify = QStringLiteral("verify");
inline const QString kCompare = QStringLiteral("compare");
inline const QString kBackup = QStringLiteral("backup");
inline const QString kRestore = QStringLiteral("restore");
inline const QString kFactoryReset = QStringLiteral("reset-defaults");
inline const QString kFactory = QStringLiteral("factory"); // a command of the factory window
} // namespace operation

struct Observation {
    InstrumentIdentity identity;
    QString operation; // one of archive::operation
    Outcome outcome = Outcome::Completed;
    QString outcomeText; // what the user was told when it did not complete
    // What the instrument holds, as far as the operation knows: `image` is valid in
    // these parts only.
    Parts known;
    // What was written to the instrument. An operation that did not complete lists
    // here what it began to write: those parts are no longer known.
    Parts written;
    ConfigImage image;
    QString sourceFile; // the file the image came from, if any
    QString port;
    // Filled in by the archive when empty: now, this PC's user and host, this program's version.
    QDateTime time;
    QString user;
    QString host;
    QString editorVersion;
};

// One recorded entry, without its image.
struct Entry {
    QString id; // "20261207T221503.123Z-3fa9c1d2": time order, then a random part
    Observation about;
    int fieldsChanged = -1; // since the entry before, in the parts both know; -1: nothing to compare with
};

// The metadata file of an entry and back. `fromJson` leaves `about.image` empty.
QByteArray entryJson(const Observation &observation, const QString &id);
bool entryFromJson(const QByteArray &text, Entry &entry);

// Where an instrument's entries are kept: "instruments/<serial>", "erased" for an
// instrument whose serial number reads 0, "unidentified" when it is not known.
QString instrumentFolder(const QString &serialNumber);

} // namespace archive
