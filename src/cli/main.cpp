// corvane-cli: the editor's instrument operations from a terminal (see "corvane-cli --help").
#include "cli/Cli.h"
#include "link/Clock.h"
#include "link/SerialBytePort.h"
#include "link/SerialLink.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>
#ifdef Q_OS_WIN
#include <io.h>
#define CORVANE_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define CORVANE_ISATTY(f) isatty(fileno(f))
#endif

namespace
{
std::atomic<bool> g_interrupted{false};

// The first interrupt asks the running operation to stop between whole blocks, so
// that the instrument leaves command mode and the user is told what was written;
// a second one ends the program at once.
void onInterrupt(int)
{
    if (g_interrupted.exchange(true))
        std::_Exit(130);
}
// The report paints with Qt Gui, which needs a QGuiApplication (for its fonts) but no
// display: without one it uses the offscreen platform. Every other command stays on
// Qt Core.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (argc < 2 || qstrcmp(argv[1], "report") != 0)
        return std::make_unique<QCoreApplication>(argc, argv);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
}
} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    // The same names as the editor: an installed program shares its per-user folder
    // and with it the COMn entries.
    QCoreApplication::setApplicationName(QStringLiteral("Corvane Display Configuration Editor"));
    QCoreApplication::setOrganizationName(QStringLiteral("Halvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    // The clock every wait of the operations runs on: the operations run on this
    // thread and wait in the port.
    DeadlineClock clock;
    SerialBytePort port;

    // The operation's waits run no event loop: an interrupt is passed on to the link
    // by a thread of its own (requestCancel may be called from any thread).
    std::atomic<SerialLink *> running{nullptr};
    std::atomic<bool> ending{false};
    std::thread interruptWatch([&] {
        while (!ending) {
            SerialLink *link = running;
            if (g_interrupted.load() && link && !link->cancelRequested())
                link->requestCancel();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    struct Join {
        std::atomic<bool> &ending;
        std::thread &thread;
        ~Join()
        {
            ending = true;
            thread.join();
        }
    } join{ending, interruptWatch};
    std::signal(SIGINT, onInterrupt);

    cli::Host host{{out, err, [&in] { return in.readLine(); }, CORVANE_ISATTY(stdin) != 0, CORVANE_ISATTY(stderr) != 0},
                   port,
                   clock,
                   QCoreApplication::applicationDirPath(),
                   {},
                   {},
                   [&running](SerialLink *link) { running = link; }};
    return cli::run(QCoreApplication::arguments(), host);
}
