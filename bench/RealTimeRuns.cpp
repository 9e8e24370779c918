#include "RealTimeRuns.h"

#include "BenchPrompts.h"
#include "SimMemory.h"
#include "core/Defaults.h"
#include "link/Clock.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/OperationRunner.h"
#include "link/PortResolver.h"
#include "link/SerialBytePort.h"
#include "link/SerialLink.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/NmeaMonitorWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <sys/resource.h>

namespace
{
double processorSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool waitForLink(const QString &path)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        if (QFileInfo(path).isSymLink())
            return true;
        QThread::msleep(10);
    }
    return false;
}

// Saves the bench memories in `folder` and starts `simProgram` serving them as COM1
// there; `error` says why not.
bool startSimulator(QProcess &sim, const QString &simProgram, const QTemporaryDir &folder, QString *error)
{
    const QString memoryFile = QDir(folder.path()).filePath(QStringLiteral("mem.bin"));
    const QString linkPath = QDir(folder.path()).filePath(QStringLiteral("COM1"));
    if (!folder.isValid() || !benchMemory().save(memoryFile)) {
        *error = QStringLiteral("cannot prepare a temporary folder");
        return false;
    }
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(simProgram, {QStringLiteral("--link"), linkPath, QStringLiteral("--memory"), memoryFile});
    if (!sim.waitForStarted(5000) || !waitForLink(linkPath)) {
        *error = QStringLiteral("%1 did not start").arg(simProgram);
        return false;
    }
    return true;
}

// Runs `body` as an operation on `state` and answers the windows' side until it has
// ended; `state` then holds its result.
void runToEnd(OperationRunner &runner, OperationRecord &state, const OperationRunner::Body &body)
{
    runner.start(state, body, [&state](const OperationRecord &result) { state = result; });
    while (runner.running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The monitor as the editor runs it: its window, polling until Cancel.
void measureMonitor(OperationRunner &runner, OperationRecord &state, MonitorResult *monitor)
{
    NmeaMonitorWindow monitorWindow;
    runToEnd(runner, state, [](InstrumentContext &ctx) { ctx.ensureConnected(); });
    QElapsedTimer wall;
    const double cpuStart = processorSeconds();
    wall.start();
    QTimer::singleShot(int(monitor->seconds * 1000), &monitorWindow, [&] { monitorWindow.onNmeaDataCancelClicked(); });
    monitor->ok = monitorWindow.start(runner, 1, state, {});
    while (runner.running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    monitor->seconds = wall.nsecsElapsed() / 1e9;
    monitor->cpuSeconds = processorSeconds() - cpuStart;
    monitor->characters = int(monitorWindow.text().size());
}
} // namespace

QList<RealTimeResult> runRealTime(const QString &simProgram, const QList<BenchOp> &ops, QString *error,
                                  MonitorResult *monitor)
{
    QTemporaryDir folder;
    QProcess sim;
    if (!startSimulator(sim, simProgram, folder, error))
        return {};

    OperationRecord state;
    writeDefaultImage(state, false);
    state.link.portNumber = 1;
    BenchPrompts prompts;
    DeadlineClock clock;
    SerialBytePort port;
    PortResolver resolver(folder.path());
    InstrumentView view;
    // As in the editor: the operations run on the link thread, the windows here.
    OperationRunner runner(prompts, view, clock, port, [&resolver](int n) { return resolver.device(n); });
    TransferWarning window;
    WarningQuestion question(window, state.link, runner.link(), &runner);
    const auto soon = [&window](std::function<void()> fn) {
        QMetaObject::invokeMethod(
            &window, [fn] { QTimer::singleShot(300, fn); }, Qt::QueuedConnection);
    };

    QList<RealTimeResult> results;
    for (BenchOp op : ops) {
        RealTimeResult r;
        r.op = op;
        QElapsedTimer wall;
        double cpuStart = 0;
        runToEnd(runner, state, [&](InstrumentContext &ctx) {
            BenchLink b{ctx.state, ctx.prompts, clock, ctx.link, ctx.view, window, question, soon};
            r.ok = operate(b, ctx, op, [&] {
                wall.start();
                cpuStart = processorSeconds();
            });
            r.seconds = wall.nsecsElapsed() / 1e9;
            r.cpuSeconds = processorSeconds() - cpuStart;
        });
        r.told = prompts.told;
        prompts.told.clear();
        results << r;
    }
    if (monitor && monitor->seconds > 0)
        measureMonitor(runner, state, monitor);
    sim.terminate();
    sim.waitForFinished(5000);
    return results;
}
