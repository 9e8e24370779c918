// The editor's recording: entries are written on a thread of their own, one at a
// time in the order the operations ended, so that a window never waits for the
// archive (its lock may wait seconds for another program recording).
#pragma once

#include "recording/Recording.h"

#include <QObject>
#include <chrono>
#include <memory>

class Mailbox;
class QThread;

namespace recording
{

class BackgroundRecorder : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundRecorder(QObject *parent = nullptr);
    // Finishes what is queued, waiting no longer than when quitting.
    ~BackgroundRecorder() override;

    // How long quitting waits for the entries still queued.
    static constexpr std::chrono::milliseconds kQuitWait{4000};

    // Queues the entries of `result` after those before; the settings are read now.
    void record(const OperationRecord &result, const About &about);
    // Waits up to about `wait` for the queued entries; one still waiting for another
    // program's lock then gives up. Answers the archive's first problem when it came
    // meanwhile, or what the thread had still to write. Later entries are written at once.
    QString finish(std::chrono::milliseconds wait = kQuitWait);

signals:
    // Entries of the instrument `serialNumber` are in the archive.
    void recorded(const QString &serialNumber);
    // The archive's first problem, for the window to show once.
    void problem(const QString &text);

private:
    struct Shared;
    Recorder m_settings; // where the entries go, on the windows' thread
    std::shared_ptr<Shared> m_shared;
    QThread *m_thread = nullptr;
    Mailbox *m_queue = nullptr; // lives on m_thread
    bool m_stuck = false;       // the thread did not end when finishing
};

} // namespace recording
