#include "StartupProbe.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{
double monotonicNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

StartupResult probeStartup(const QString &editorProgram)
{
    StartupResult r;
    int out[2];
    if (pipe(out) != 0) {
        r.error = QStringLiteral("pipe failed");
        return r;
    }
    std::vector<QByteArray> env{"QT_QPA_PLATFORM=offscreen", "CORVANE_STARTUP_PROBE=1"};
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("QT_QPA_PLATFORM=") && !entry.startsWith("CORVANE_STARTUP_PROBE="))
            env.push_back(entry);
    }
    std::vector<char *> envp;
    for (QByteArray &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    QByteArray program = editorProgram.toLocal8Bit();
    char *argv[] = {program.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // The platform plugin's remarks are not the benchmark's business.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = 0;
    const double start = monotonicNow();
    const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        r.error = QStringLiteral("cannot start %1").arg(editorProgram);
        return r;
    }
    QByteArray printed;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, n);
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.peakKiB = usage.ru_maxrss;

    const int at = printed.indexOf("first-show ");
    if (at < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        r.error = QStringLiteral("the editor did not report its first show (exit status %1)").arg(status);
        return r;
    }
    const double shown = printed.mid(at + 11).trimmed().split('\n').first().toDouble();
    r.seconds = shown - start;
    r.ok = true;
    return r;
}
