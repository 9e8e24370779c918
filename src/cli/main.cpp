// corvane-cli: the editor's instrument operations from a terminal (see "corvane-cli --help").
#include "cli/Cli.h"
#include "link/Clock.h"
#include "link/SerialBytePort.h"
#include "link/SerialLink.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#ifdef Q_OS_WIN
#include <io.h>
#define CORVANE_ISATTY(f) _isatty(_fileno(f))
#else
#include <sys/ioctl.h>
#include <unistd.h>
#define CORVANE_ISATTY(f) isatty(fileno(f))
#endif

namespace
{
std::atomic<int> g_interrupts{0};
std::atomic<bool> g_asking{false};    // a question waits for its answer
std::atomic<bool> g_operating{false}; // an instrument operation runs

// One line on standard error from the signal handler (no buffered stream there).
void sayAtOnce(const char *line)
{
#ifdef Q_OS_WIN
    std::fputs(line, stderr);
    std::fflush(stderr);
#else
    const ssize_t written = ::write(STDERR_FILENO, line, std::strlen(line));
    (void)written;
#endif
}

// An interrupt at a question, or while no operation talks to the instrument, ends the
// program at once: nothing is sent. During an operation the first one asks it to stop
// at its next safe point, between whole blocks, so that the instrument leaves command
// mode and the user is told what was written; a second one ends the operation at once
// (see the watch in main).
void onInterrupt(int)
{
    const int count = ++g_interrupts;
    if (g_asking) {
        sayAtOnce("\nInterrupted at the question: nothing was written to the instrument.\n");
        std::_Exit(130);
    }
    if (!g_operating) {
        sayAtOnce("\nInterrupted.\n");
        std::_Exit(130);
    }
    if (count == 1)
        sayAtOnce("\nInterrupted: stopping at the next safe point (Ctrl+C again ends at once).\n");
}

// The width of the terminal behind standard error, asked each time: it may be resized.
int terminalColumns()
{
#ifdef Q_OS_WIN
    return 0;
#else
    winsize size{};
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
#endif
}

void onAsking(bool asking)
{
    g_asking = asking;
    // An interrupt that came before the question is its answer.
    if (asking && g_interrupts > 0)
        onInterrupt(SIGINT);
}

QtMessageHandler g_qtHandler = nullptr;

// Qt Gui looks for the session's runtime folder, which cron and ssh sessions lack; the
// report needs none, so Qt's note about it is not shown. Every other message is.
void withoutRuntimeFolderNote(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (g_qtHandler)
        g_qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
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
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        g_qtHandler = qInstallMessageHandler(withoutRuntimeFolderNote);
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
}
} // namespace

int main(int argc, char *argv[])
{
    // The link's log lines are for a technician's trace: shown only when the logging
    // rules ask for them (QT_LOGGING_RULES="corvane.link*=true"), which override this.
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.*=false"));
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
    // by a thread of its own (requestCancel and requestStop may be called from any thread).
    // The watch uses the link only under `runningLock`, and the session clears `running`
    // under it before the link goes away: the watch never touches a link being destroyed.
    std::mutex runningLock;
    SerialLink *running = nullptr;
    std::atomic<bool> ending{false};
    std::thread interruptWatch([&] {
        SerialLink *stopped = nullptr;
        while (!ending) {
            {
                const std::lock_guard<std::mutex> lock(runningLock);
                SerialLink *link = running;
                const int count = g_interrupts;
                if (link && count >= 1 && !link->cancelRequested())
                    link->requestCancel();
                if (link && count >= 2 && stopped != link && link->busy()) {
                    link->requestStop();
                    stopped = link;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
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

    cli::Host host{{out, err, [&in] { return in.readLine(); }, CORVANE_ISATTY(stdin) != 0, CORVANE_ISATTY(stderr) != 0,
                    onAsking, terminalColumns},
                   port,
                   clock,
                   QCoreApplication::applicationDirPath(),
                   {},
                   {},
                   [&running, &runningLock](SerialLink *link) {
                       const std::lock_guard<std::mutex> lock(runningLock);
                       running = link;
                       g_operating = link != nullptr;
                   }};
    return cli::run(QCoreApplication::arguments(), host);
}
