#include "recording/BackgroundRecorder.h"

#include "link/OperationRunner.h"

#include <QThread>
#include <atomic>
#include <mutex>

namespace recording
{

// What the recording thread and the windows' thread share. It outlives the recorder
// when the thread could not be waited for (a file system that hangs).
struct BackgroundRecorder::Shared {
    Recorder writer; // the thread's own (and its own archive)
    std::atomic<bool> finishing{false};
    std::atomic<qint64> giveUpAt{0}; // steady clock, ms: when finishing stops waiting for locks
    std::atomic<int> queued{0};
    std::mutex handOver;          // the queue, handed back when the thread ends
    std::mutex mutex;             // guards the two below
    Mailbox *toWindows = nullptr; // the recorder's, while it lives
    QStringList lost;             // the first problem, when it came while finishing

    static qint64 now()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    void write(BackgroundRecorder *owner, const Recorder::Entries &entries)
    {
        const Recorder::Written written = writer.writeAll(entries);
        const QString serialNumber = entries.entries.front().identity.serialNumber;
        const std::lock_guard<std::mutex> lock(mutex);
        --queued;
        // Once a session: a problem already told is not told again when quitting.
        if (finishing && written.first)
            lost << written.problem;
        if (!toWindows)
            return;
        const bool tell = !finishing && written.first;
        toWindows->send([owner, written, tell, serialNumber] {
            if (tell)
                emit owner->problem(written.problem);
            if (written.recorded > 0)
                emit owner->recorded(serialNumber);
        });
    }
};

BackgroundRecorder::BackgroundRecorder(QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_thread(new QThread), m_queue(new Mailbox)
{
    m_shared->toWindows = new Mailbox(this);
    Shared *shared = m_shared.get();
    m_shared->writer.keepWaiting = [shared] { return !shared->finishing || Shared::now() < shared->giveUpAt; };
    m_thread->setObjectName(QStringLiteral("archive recording"));
    m_queue->moveToThread(m_thread);
    m_thread->start(QThread::LowPriority);
}

BackgroundRecorder::~BackgroundRecorder()
{
    finish();
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->toWindows = nullptr; // a thread left running tells nobody
}

void BackgroundRecorder::record(const OperationRecord &result, const About &about)
{
    Recorder::Entries entries = m_settings.prepare(result, about);
    if (entries.entries.empty() || m_stuck) // stuck: the thread still has the writer
        return;
    ++m_shared->queued;
    if (!m_thread) { // finished: nothing is left to wait for
        m_shared->write(this, entries);
        return;
    }
    m_queue->send([shared = m_shared, owner = this, entries = std::move(entries)] { shared->write(owner, entries); });
}

QString BackgroundRecorder::finish(std::chrono::milliseconds wait)
{
    if (!m_thread)
        return QString();
    m_shared->giveUpAt = Shared::now() + wait.count();
    m_shared->finishing = true;
    // After everything queued before; the queue is then this thread's again.
    QThread *home = thread();
    m_queue->send([shared = m_shared, queue = m_queue, home] {
        const std::lock_guard<std::mutex> lock(shared->handOver);
        queue->moveToThread(home);
        QThread::currentThread()->quit();
    });
    // A lock is given up within a step of `wait`; writing a last entry takes a moment more.
    const bool ended = m_thread->wait(QDeadlineTimer(wait + std::chrono::seconds(2)));
    QStringList lost;
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        lost = m_shared->lost;
        m_shared->lost.clear();
        if (!ended)
            lost << QStringLiteral("%1 entries were still being written when the editor closed.")
                        .arg(m_shared->queued.load());
    }
    if (ended) {
        const std::lock_guard<std::mutex> lock(m_shared->handOver);
        delete m_queue;
        delete m_thread;
    }
    // Otherwise both are left to the thread, which ends with the program: waiting on
    // would keep the editor from closing.
    m_queue = nullptr;
    m_thread = nullptr;
    m_stuck = !ended;
    m_shared->finishing = !ended;
    return lost.join(QLatin1Char('\n'));
}

} // namespace recording
