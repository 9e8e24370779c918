// Runs the instrument operations: on a thread of their own that owns the port (the editor),
// or on the calling thread (tests on the virtual clock), always on a copy of the state.
#pragma once

#include "core/EditorState.h"
#include "link/InstrumentContext.h"

#include <QObject>
#include <functional>
#include <memory>

class BytePort;
class Clock;
class InstrumentView;
class Prompts;
class QThread;
class SerialLink;

// The runner lives on the windows' thread. An operation works with context(): a copy
// of the editor's state, and prompts and a view that hand every call to the windows'
// thread and wait for it there. Whenever the operation hands something over, and when
// it ends, the two copies of the state are brought level: what the operation changed
// goes to the editor, what the windows changed meanwhile (a port chosen) goes to the
// operation. So the windows never read a value while the operation writes it.
//
// When the clock blocks its thread (the real clock), operations run on a worker
// thread that owns the port and the link; otherwise on the thread that starts them,
// whose waits let window messages run (the virtual clock of the tests).
class OperationRunner : public QObject
{
    Q_OBJECT
public:
    OperationRunner(EditorState &state, Prompts &prompts, InstrumentView &view, Clock &clock, BytePort &port,
                    std::function<QString(int)> resolve, QObject *parent = nullptr);
    // Let a running operation end before (shutDown(), then answer the windows' side
    // until running() is false).
    ~OperationRunner() override;

    bool threaded() const { return m_thread != nullptr; }
    // What an operation works with (its state, prompts, view, link).
    InstrumentContext &context() { return *m_context; }
    SerialLink &link() { return *m_link; }
    // Redraws the main window from the editor's image (called on the windows' thread).
    void setRedraw(std::function<void()> redraw) { m_redraw = std::move(redraw); }

    // Runs `fn` on the windows' thread with the state brought level before and after,
    // and returns when it has run. From the windows' thread itself: at once.
    void onWindows(const std::function<void()> &fn);
    template <class T> T onWindowsValue(const std::function<T()> &fn)
    {
        T value{};
        onWindows([&] { value = fn(); });
        return value;
    }

    // Starts `body` as the operation (on the worker thread, or here and now); `done`
    // runs on the windows' thread once it has ended and the state was brought level.
    // False, with the busy message, while another operation runs.
    bool start(const std::function<void()> &body, const std::function<void()> &done = {});
    bool running() const { return m_running; }
    // The running operation stops at its next safe point.
    void requestCancel();
    // Ends the running operation at its next step and closes the port for good.
    void shutDown();

signals:
    void finished();

private:
    void bringLevel();
    void ended(const std::function<void()> &done);

    EditorState &m_state;
    Prompts &m_windowPrompts;
    BytePort &m_port;
    EditorState m_operationState;
    EditorState m_levelState; // both copies as they were when last brought level
    std::unique_ptr<Prompts> m_prompts;
    std::unique_ptr<InstrumentView> m_view;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<InstrumentContext> m_context;
    std::function<void()> m_redraw;
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr; // lives on m_thread: operations are posted to it
    bool m_running = false;
};
