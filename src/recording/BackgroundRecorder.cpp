#include "recording/BackgroundRecorder.h"

#include <QMutex>
#include <QThread>
#include <atomic>

namespace recording
{

// What the recording thread and the windows' thread share. It outlives the recorder
// when the thread could not be waited for (a file system that hangs).
struct BackgroundRecorder::Shared {
    Recorder writer; // the thread's own (and its own archive)
    std::atomic<bool> finishing{false};
    std::atomic<qint64> giveUpAt{0}; // steady clock, ms: when finishing stops waiting for locks
    std::atomic<int> queued{0};
    QMutex mutex; // guards the two below
    BackgroundRecorder *owner = nullptr;
    QStringList lost; // the first problem, when it came while finishing

    static qint64 now()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    void write(const Recorder::Entries &entries)
    {
        const Recorder::Written written = writer.writeAll(entries);
        const QMutexLocker locker(&mutex);
        --queued;
        // Once a session: a problem already told is not told again when quitting.
        if (finishing && written.first)
            lost << written.problem;
        if (!owner)
            return;
        // Posted to the windows' thread; the owner is not destroyed meanwhile.
        if (!finishing && written.first)
            emit owner->problem(written.problem);
        if (written.recorded > 0)
            emit owner->recorded(entries.entries.front().identity.serialNumber);
    }
};

BackgroundRecorder::BackgroundRecorder(QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_thread(new QThread), m_context(new QObject)
{
    m_shared->owner = this;
    Shared *shared = m_shared.get();
    m_shared->writer.keepWaiting = [shared] { return !shared->finishing || Shared::now() < shared->giveUpAt; };
    m_thread->setObjectName(QStringLiteral("archive recording"));
    m_context->moveToThread(m_thread);
    m_thread->start(QThread::LowPriority);
}

BackgroundRecorder::~BackgroundRecorder()
{
    finish();
    const QMutexLocker locker(&m_shared->mutex);
    m_shared->owner = nullptr;
}

void BackgroundRecorder::record(const OperationRecord &result, const About &about)
{
    Recorder::Entries entries = m_settings.prepare(result, about);
    if (entries.entries.empty())
        return;
    if (m_stuck) // the thread still has the writer
        return;
    ++m_shared->queued;
    if (!m_thread) { // finished: nothing is left to wait for
        m_shared->write(entries);
        return;
    }
    QMetaObject::invokeMethod(
        m_context, [shared = m_shared, entries = std::move(entries)] { shared->write(entries); }, Qt::QueuedConnection);
}

QString BackgroundRecorder::finish(std::chrono::milliseconds wait)
{
    if (!m_thread)
        return QString();
    m_shared->giveUpAt = Shared::now() + wait.count();
    m_shared->finishing = true;
    // After everything queued before.
    QMetaObject::invokeMethod(
        m_context, [thread = m_thread] { thread->quit(); }, Qt::QueuedConnection);
    // A lock is given up within a step of `wait`; writing a last entry takes a moment more.
    const bool ended = m_thread->wait(QDeadlineTimer(wait + std::chrono::seconds(2)));
    QStringList lost;
    {
        const QMutexLocker locker(&m_shared->mutex);
        lost = m_shared->lost;
        m_shared->lost.clear();
        if (!ended)
            lost << QStringLiteral("%1 entries were still being written when the editor closed.")
                        .arg(m_shared->queued.load());
    }
    if (ended) {
        delete m_context;
        delete m_thread;
    }
    // Otherwise both are left to the thread, which ends with the program: waiting on
    // would keep the editor from closing.
    m_context = nullptr;
    m_thread = nullptr;
    m_stuck = !ended;
    m_shared->finishing = !ended;
    lost.removeDuplicates();
    return lost.join(QLatin1Char('\n'));
}

} // namespace recording
