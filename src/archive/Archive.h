// The instrument archive: an entry per operation with an instrument, kept in an
// ordinary git repository that any git tool reads. Each entry is two new files in
// the instrument's folder, "<id>.cfg" (the image as a configuration file) and
// "<id>.json" (what the operation learnt); files are only ever added, so two PCs
// that record the same instrument merge without conflict.
//
// Nothing here throws or fails an instrument operation: every call answers with a
// problem text for the caller to show once.
#pragma once

#include "archive/Observation.h"
#include "core/FieldTable.h"

#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace archive
{

template <typename T> struct Answer {
    T value{};
    QString problem; // empty on success
    bool ok() const { return problem.isEmpty(); }
};

struct InstrumentSummary {
    QString serialNumber; // "0" for the erased ones, kept apart
    quint8 productCode = 0;
    QString softwareVersion;
    QString hardwareVersion;
    QDateTime lastSeen;
    int entries = 0;
    QString lastOperation;
};

// An instrument's image as of one entry: each part from the newest entry up to it
// that knows the part.
struct HistoryImage {
    Entry entry;
    ConfigImage image;
    Parts known; // parts no entry up to this one knew hold the entry's own bytes
};

struct SyncReport {
    int received = 0; // entries that came from the workshop repository
    int sent = 0;     // entries the workshop repository did not have
};

class Archive
{
public:
    explicit Archive(const QString &folder);

    // The per-user archive folder: "archive" in the application's data folder.
    static QString defaultFolder();

    QString folder() const { return m_folder; }

    // Records an entry; answers its id.
    Answer<QString> record(const Observation &observation) const;

    // Every instrument, the most recently seen first.
    Answer<QList<InstrumentSummary>> instruments() const;
    // An instrument's entries, the newest first, with the fields changed since the one before.
    Answer<QList<Entry>> entries(const QString &serialNumber) const;
    // The image as of entry `id` (the newest when empty).
    Answer<HistoryImage> image(const QString &serialNumber, const QString &id = QString()) const;
    // What differs between two entries' images, in the parts both know.
    Answer<std::vector<fields::Line>> differences(const QString &serialNumber, const QString &before,
                                                  const QString &after) const;

    // Fetches from the workshop repository (a folder or an ssh URL), merges, and
    // pushes back. Each network step ends after `timeout`.
    Answer<SyncReport> synchronise(const QString &remote,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

    // How long a record waits for another program recording into the same archive.
    std::chrono::milliseconds lockWait = std::chrono::seconds(10);
    // Asked now and then while waiting for that program: false stops waiting.
    std::function<bool()> keepWaiting;
    // Writes an entry's file; answers the reason it failed. Empty: through QSaveFile.
    std::function<QString(const QString &path, const QByteArray &bytes)> writeFile;

private:
    QString m_folder;
    // The repository recording keeps open between entries (its index stays read).
    struct Open;
    std::shared_ptr<Open> m_open;
};

} // namespace archive
