#include "link/OperationRunner.h"

#include "core/Prompts.h"
#include "link/BytePort.h"
#include "link/Clock.h"
#include "link/Connection.h"
#include "link/InstrumentView.h"
#include "link/LinkLog.h"
#include "link/SerialLink.h"

#include <QThread>

namespace
{
// Questions and messages asked from an operation, answered by the windows.
class WindowPrompts : public Prompts
{
public:
    WindowPrompts(OperationRunner &runner, Prompts &prompts) : m_runner(runner), m_prompts(prompts) {}
    void beep() override
    {
        m_runner.onWindows([this] { m_prompts.beep(); });
    }
    int askYesNo(const QString &title, const QString &text, Icon icon) override
    {
        return m_runner.onWindowsValue<int>([&] { return m_prompts.askYesNo(title, text, icon); });
    }
    void message(const QString &title, const QString &text, Icon icon) override
    {
        m_runner.onWindows([&] { m_prompts.message(title, text, icon); });
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override
    {
        return m_runner.onWindowsValue<QString>([&] { return m_prompts.inputBox(prompt, title, defaultText, twips); });
    }
    QString openFile(const QString &title, const QString &filter) override
    {
        return m_runner.onWindowsValue<QString>([&] { return m_prompts.openFile(title, filter); });
    }
    QString saveFile(const QString &title, const QString &filter) override
    {
        return m_runner.onWindowsValue<QString>([&] { return m_prompts.saveFile(title, filter); });
    }

private:
    OperationRunner &m_runner;
    Prompts &m_prompts;
};

// What an operation shows, shown by the windows.
class WindowView : public InstrumentView
{
public:
    WindowView(OperationRunner &runner, InstrumentView &view) : m_runner(runner), m_view(view) {}
    void showPortChooser() override
    {
        on([this] { m_view.showPortChooser(); });
    }
    void hidePortChooser() override
    {
        on([this] { m_view.hidePortChooser(); });
    }
    bool portChooserOpen() const override
    {
        return m_runner.onWindowsValue<bool>([this] { return m_view.portChooserOpen(); });
    }
    void selectPortOption(int n) override
    {
        on([=] { m_view.selectPortOption(n); });
    }
    void setCommsPortLabel(const QString &t) override
    {
        on([&] { m_view.setCommsPortLabel(t); });
    }
    void setConnectedLabel(const QString &t) override
    {
        on([&] { m_view.setConnectedLabel(t); });
    }
    void setSerialNumberLabel(const QString &t) override
    {
        on([&] { m_view.setSerialNumberLabel(t); });
    }
    void showConnecting() override
    {
        on([this] { m_view.showConnecting(); });
    }
    void hideConnecting() override
    {
        on([this] { m_view.hideConnecting(); });
    }
    void setConnectingCaption(const QString &t) override
    {
        on([&] { m_view.setConnectingCaption(t); });
    }
    QString connectingCaption() const override
    {
        return m_runner.onWindowsValue<QString>([this] { return m_view.connectingCaption(); });
    }
    void showProgress() override
    {
        on([this] { m_view.showProgress(); });
    }
    void hideProgress() override
    {
        on([this] { m_view.hideProgress(); });
    }
    void setProgress(int v) override
    {
        on([=] { m_view.setProgress(v); });
    }
    void setProgressMaximum(int m) override
    {
        on([=] { m_view.setProgressMaximum(m); });
    }
    void showIdentity() override
    {
        on([this] { m_view.showIdentity(); });
    }
    void showUnitVersions() override
    {
        on([this] { m_view.showUnitVersions(); });
    }
    void showProductCode(int c) override
    {
        on([=] { m_view.showProductCode(c); });
    }
    void showNewConfigCount(int c) override
    {
        on([=] { m_view.showNewConfigCount(c); });
    }

private:
    void on(const std::function<void()> &fn) const { m_runner.onWindows(fn); }

    OperationRunner &m_runner;
    InstrumentView &m_view;
};

// How long the editor closing waits for a running operation to reach its next step.
constexpr int kShutDownWaitMs = 5000;
} // namespace

OperationRunner::OperationRunner(EditorState &state, Prompts &prompts, InstrumentView &view, Clock &clock,
                                 BytePort &port, std::function<QString(int)> resolve, QObject *parent)
    : QObject(parent), m_state(state), m_windowPrompts(prompts), m_port(port)
{
    m_operationState.assignValuesFrom(state);
    m_levelState.assignValuesFrom(state);
    m_prompts = std::make_unique<WindowPrompts>(*this, prompts);
    m_view = std::make_unique<WindowView>(*this, view);
    m_link = std::make_unique<SerialLink>(m_operationState, *m_prompts, clock, port, std::move(resolve));
    m_link->setView(m_view.get());
    m_context = std::make_unique<InstrumentContext>(InstrumentContext{
        m_operationState, *m_prompts, *m_link, *m_view,
        [this, &clock] { connectToInstrument(m_operationState, *m_prompts, clock, *m_link, *m_view); },
        [this] {
            onWindows([this] {
                if (m_redraw)
                    m_redraw();
            });
        }});

    if (clock.blocksThread()) {
        // The port, the link and every wait of an operation belong to this thread.
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("corvane-link"));
        m_worker = new QObject;
        m_worker->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        port.moveToThread(m_thread);
        m_link->moveToThread(m_thread);
        m_thread->start();
    }
}

OperationRunner::~OperationRunner()
{
    if (!m_thread)
        return;
    // Whoever owns the runner lets a running operation end first (it answers the
    // operation's calls to the windows meanwhile): an operation cut off here would
    // still be using the link.
    shutDown();
    if (!m_running) {
        // The port is closed on its own thread and handed back with the link.
        QThread *home = thread();
        QMetaObject::invokeMethod(
            m_worker,
            [this, home] {
                m_link->closePort();
                m_port.moveToThread(home);
                m_link->moveToThread(home);
            },
            Qt::BlockingQueuedConnection);
    } else {
        qCWarning(lcLink) << "an operation did not end in time; the link thread is left to it";
    }
    m_thread->quit();
    m_thread->wait(kShutDownWaitMs);
}

void OperationRunner::bringLevel()
{
    const SenderListPositions positions = m_state.senderPositions;
    mergeChangedValues(m_state, m_levelState, m_operationState);
    m_operationState.assignValuesFrom(m_state);
    m_levelState.assignValuesFrom(m_state);
    if (!(positions == m_state.senderPositions) && m_state.onSenderPositionsChanged)
        m_state.onSenderPositionsChanged();
}

void OperationRunner::onWindows(const std::function<void()> &fn)
{
    auto call = [this, &fn] {
        bringLevel();
        fn();
        bringLevel();
    };
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

bool OperationRunner::start(const std::function<void()> &body, const std::function<void()> &done)
{
    if (m_running || m_link->busy()) {
        tellInstrumentBusy(m_windowPrompts);
        return false;
    }
    m_running = true;
    bringLevel();
    auto run = [body] {
        try {
            body();
        } catch (const std::exception &e) {
            // Operations end their own failures; nothing may escape into the event loop.
            qCCritical(lcLink) << "operation ended by an exception:" << e.what();
        }
    };
    if (!m_thread) {
        run();
        ended(done);
        return true;
    }
    QMetaObject::invokeMethod(
        m_worker,
        [this, run, done] {
            run();
            QMetaObject::invokeMethod(
                this, [this, done] { ended(done); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void OperationRunner::ended(const std::function<void()> &done)
{
    bringLevel();
    m_running = false;
    if (done)
        done();
    emit finished();
}

void OperationRunner::requestCancel()
{
    m_link->requestCancel();
}

void OperationRunner::shutDown()
{
    m_link->shutDown();
}
