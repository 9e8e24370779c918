#include "link/OperationRunner.h"

#include "core/EditorState.h"
#include "core/Prompts.h"
#include "link/BytePort.h"
#include "link/Clock.h"
#include "link/Connection.h"
#include "link/InstrumentView.h"
#include "link/LinkLog.h"
#include "link/NotedPrompts.h"

#include <QThread>

namespace
{
// Questions and messages of an operation, asked of the windows as requests. A request
// the wait gave up on counts as the answer that ends the operation quietly: No, an
// empty input (Cancel), no file.
class WindowPrompts : public Prompts
{
public:
    WindowPrompts(OperationRunner &runner, Prompts &prompts) : m_runner(runner), m_prompts(prompts) {}
    void beep() override
    {
        m_runner.post([this] { m_prompts.beep(); });
    }
    int askYesNo(const QString &title, const QString &text, Icon icon) override
    {
        return m_runner.request<int>([=] { return m_prompts.askYesNo(title, text, icon); }).value_or(kNo);
    }
    void message(const QString &title, const QString &text, Icon icon) override
    {
        m_runner.request<bool>([=] {
            m_prompts.message(title, text, icon);
            return true;
        });
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QPoint> twips) override
    {
        return m_runner.request<QString>([=] { return m_prompts.inputBox(prompt, title, defaultText, twips); })
            .value_or(QString());
    }
    QString openFile(const QString &title, const QString &filter) override
    {
        return m_runner.request<QString>([=] { return m_prompts.openFile(title, filter); }).value_or(QString());
    }
    QString saveFile(const QString &title, const QString &filter) override
    {
        return m_runner.request<QString>([=] { return m_prompts.saveFile(title, filter); }).value_or(QString());
    }
    QString chooseFolder(const QString &title) override
    {
        return m_runner.request<QString>([=] { return m_prompts.chooseFolder(title); }).value_or(QString());
    }

private:
    OperationRunner &m_runner;
    Prompts &m_prompts;
};

// What an operation reports, handed to the windows' thread in order, without waiting.
class WindowView : public InstrumentView
{
public:
    WindowView(OperationRunner &runner, InstrumentView &view) : m_runner(runner), m_view(view) {}
    void askPort(int current, std::function<void(int)> answer) override
    {
        post([=] { m_view.askPort(current, answer); });
    }
    void dismissPortQuestion() override
    {
        post([this] { m_view.dismissPortQuestion(); });
    }
    void portChanged(int n) override
    {
        post([=] { m_view.portChanged(n); });
    }
    void linkStatusChanged(LinkStatus status) override
    {
        post([=] { m_view.linkStatusChanged(status); });
    }
    void identified(const InstrumentIdentity &identity) override
    {
        post([=] { m_view.identified(identity); });
    }
    void versionsRead(const InstrumentIdentity &identity) override
    {
        post([=] { m_view.versionsRead(identity); });
    }
    void productCodeRead(int code) override
    {
        post([=] { m_view.productCodeRead(code); });
    }
    void newConfigCountRead(int count) override
    {
        post([=] { m_view.newConfigCountRead(count); });
    }
    void showConnecting() override
    {
        post([this] { m_view.showConnecting(); });
    }
    void hideConnecting() override
    {
        post([this] { m_view.hideConnecting(); });
    }
    void setConnectingCaption(const QString &t) override
    {
        post([=] { m_view.setConnectingCaption(t); });
    }
    void showProgress() override
    {
        post([this] { m_view.showProgress(); });
    }
    void hideProgress() override
    {
        post([this] { m_view.hideProgress(); });
    }
    void setProgress(int v) override
    {
        post([=] { m_view.setProgress(v); });
    }
    void setProgressMaximum(int m) override
    {
        post([=] { m_view.setProgressMaximum(m); });
    }

private:
    void post(std::function<void()> fn) { m_runner.post(std::move(fn)); }

    OperationRunner &m_runner;
    InstrumentView &m_view;
};

// How long the runner, going away, waits for a running operation's thread to end.
constexpr unsigned long kShutDownWaitMs = 5000;
} // namespace

Mailbox::~Mailbox()
{
    std::lock_guard<std::mutex> lock(m_mutex);
}

void Mailbox::send(std::function<void()> fn)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.push_back(std::move(fn));
    }
    QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
}

void Mailbox::deliver()
{
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_items.empty())
                return;
            fn = std::move(m_items.front());
            m_items.pop_front();
        }
        fn();
    }
}

OperationRunner::OperationRunner(Prompts &prompts, InstrumentView &view, Clock &clock, BytePort &port,
                                 std::function<QString(int)> resolve, QObject *parent)
    : QObject(parent), m_windowPrompts(prompts), m_clock(clock), m_port(port),
      m_record(std::make_unique<OperationRecord>())
{
    m_toWindows = new Mailbox(this);
    m_windowQuestions = std::make_unique<WindowPrompts>(*this, prompts);
    // Every message an operation shows is noted in its record.
    m_prompts = std::make_unique<NotedPrompts>(*m_windowQuestions, m_record->told);
    m_view = std::make_unique<WindowView>(*this, view);
    m_link = std::make_unique<SerialLink>(m_record->link, *m_prompts, clock, port, std::move(resolve));
    m_link->setView(m_view.get());
    m_context = std::make_unique<InstrumentContext>(
        InstrumentContext{*m_record, *m_prompts, *m_link, *m_view,
                          [this] { connectToInstrument(*m_record, *m_prompts, *m_link, *m_view); }});

    if (clock.blocksThread()) {
        // The port, the link and every wait of an operation belong to this thread.
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("corvane-link"));
        m_worker = new Mailbox;
        m_worker->moveToThread(m_thread);
        port.moveToThread(m_thread);
        m_link->moveToThread(m_thread);
        m_thread->start();
    }
}

OperationRunner::~OperationRunner()
{
    if (!m_thread)
        return;
    // A running operation ends at its next step, and a question it waits for ends
    // unanswered: nothing it waits for needs this thread.
    shutDown();
    // After the operation (the worker takes its work in order): the port is closed on
    // its own thread, it and the link are handed back, and the thread ends.
    QThread *home = thread();
    m_worker->send([this, home] {
        std::lock_guard<std::mutex> lock(m_handOver);
        m_link->closePort();
        m_port.moveToThread(home);
        m_link->moveToThread(home);
        m_worker->moveToThread(home);
        QThread::currentThread()->quit();
    });
    if (m_thread->wait(kShutDownWaitMs)) {
        // What the thread left behind is this thread's again.
        std::lock_guard<std::mutex> lock(m_handOver);
        delete m_worker;
        return;
    }
    // Never destroy a thread that still runs: it keeps what its operation uses.
    qCWarning(lcLink) << "an operation did not end in time; its thread is left to end on its own";
    m_thread->setParent(nullptr);
    m_toWindows->setParent(nullptr);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    (void)m_record.release();
    (void)m_prompts.release();
    (void)m_windowQuestions.release();
    (void)m_view.release();
    (void)m_link.release();
    (void)m_context.release();
}

void OperationRunner::post(std::function<void()> fn)
{
    if (!m_thread || QThread::currentThread() == thread())
        fn();
    else
        m_toWindows->send(std::move(fn));
}

bool OperationRunner::start(const OperationRecord &input, const Body &body, const Done &done)
{
    if (m_running || m_link->busy()) {
        tellInstrumentBusy(m_windowPrompts);
        return false;
    }
    m_running = true;
    {
        // No operation runs: the record is the windows' to set.
        std::lock_guard<std::mutex> lock(m_handOver);
        *m_record = input;
    }
    auto run = [this, body] {
        // Takes the record over from start(), and hands it back at the end.
        {
            std::lock_guard<std::mutex> lock(m_handOver);
        }
        struct HandBack {
            std::mutex &handOver;
            ~HandBack() { std::lock_guard<std::mutex> lock(handOver); }
        } handBack{m_handOver};
        try {
            runInstrumentOperation(*m_link, *m_record, *m_prompts, *m_view, [&] { body(*m_context); });
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
    m_worker->send([this, run, done] {
        run();
        m_toWindows->send([this, done] { ended(done); });
    });
    return true;
}

void OperationRunner::ended(const Done &done)
{
    // The operation has ended: its record is the windows' again.
    std::unique_lock<std::mutex> lock(m_handOver);
    const OperationRecord result = *m_record;
    lock.unlock();
    m_running = false;
    if (done)
        done(result);
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
