// Runs the instrument operations: on a thread of their own that owns the port (the editor),
// or on the calling thread (tests on the virtual clock). Each is given an input and returns
// its result; it shares nothing with the windows while it runs.
#pragma once

#include "link/InstrumentContext.h"
#include "link/OperationRecord.h"
#include "link/Reply.h"
#include "link/SerialLink.h"

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class BytePort;
class Clock;
class InstrumentView;
class Prompts;
class QThread;

// Work handed to another thread. It goes through a lock of its own rather than in Qt's
// queued calls, so that every hand-over is one a race detector can see; the queued
// call only says that there is work.
class Mailbox : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Waits for whoever delivers from it to let go (its thread may just have ended).
    ~Mailbox() override;
    // Any thread: `fn` runs on the mailbox's thread, after what was sent before it.
    void send(std::function<void()> fn);
    // Runs everything sent so far (on the mailbox's thread).
    Q_INVOKABLE void deliver();

private:
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_items;
};

// The runner lives on the windows' thread. start() copies the input into the
// operation's own record; the operation reads and writes only that record, reports to
// the windows through a view whose calls are posted to their thread, and asks its
// questions as requests: posted to the windows, answered there, waited for with the
// link's one interruptible wait (Cancel, a lost port and the editor closing end it).
// When it has ended, `done` gets the record on the windows' thread, which applies it.
//
// When the clock blocks its thread (the real clock), operations run on a worker
// thread that owns the port and the link; otherwise on the thread that starts them,
// whose waits let window messages run (the virtual clock of the tests).
class OperationRunner : public QObject
{
    Q_OBJECT
public:
    OperationRunner(Prompts &prompts, InstrumentView &view, Clock &clock, BytePort &port,
                    std::function<QString(int)> resolve, QObject *parent = nullptr);
    // Ends a running operation (as shutDown()), waits a bounded time for its thread, and
    // never destroys a thread that still runs.
    ~OperationRunner() override;

    bool threaded() const { return m_thread != nullptr; }
    SerialLink &link() { return *m_link; }
    Clock &clock() { return m_clock; }

    using Body = std::function<void(InstrumentContext &ctx)>;
    using Done = std::function<void(const OperationRecord &result)>;
    // Starts `body` on its own copy of `input`, under the busy guard (a lost link ends
    // it there, reported); `done` runs on the windows' thread with the record as the
    // operation left it. False, with the busy message, while another operation runs.
    bool start(const OperationRecord &input, const Body &body, const Done &done = {});
    bool running() const { return m_running; }
    // The running operation stops at its next safe point; a question it waits for ends.
    void requestCancel();
    // Ends the running operation at its next step and closes the port for good.
    void shutDown();

    // Runs `fn` on the windows' thread without waiting for it (at once when operations
    // run on that thread).
    void post(std::function<void()> fn);
    // Asks the windows (`ask` runs on their thread) and waits for the answer with the
    // link's interruptible wait; empty when Cancel, a lost port or shut-down ended it.
    template <class T> std::optional<T> request(std::function<T()> ask)
    {
        if (!m_thread)
            return ask();
        const auto reply = std::make_shared<Reply<T>>(m_clock);
        post([ask, reply] { reply->give(ask()); });
        if (!m_link->waitForAnswer([&] { return reply->answered(); }))
            return std::nullopt;
        return reply->value();
    }

signals:
    void finished();

private:
    void ended(const Done &done);

    // The operation's record passes from one thread to the other under this lock.
    std::mutex m_handOver;
    Mailbox *m_toWindows = nullptr; // lives on the windows' thread
    Prompts &m_windowPrompts;
    Clock &m_clock;
    BytePort &m_port;
    // What a running operation uses; left alone (never freed) if its thread outlives the runner.
    std::unique_ptr<OperationRecord> m_record;
    std::unique_ptr<Prompts> m_windowQuestions;
    std::unique_ptr<Prompts> m_prompts; // m_windowQuestions, noting each message in the record
    std::unique_ptr<InstrumentView> m_view;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<InstrumentContext> m_context;
    QThread *m_thread = nullptr;
    Mailbox *m_worker = nullptr; // lives on m_thread: operations are sent to it
    bool m_running = false;
};
