// corvane-sim: the simulated Corvane on a pseudo-terminal, for trying the editor without an instrument.
//
//   corvane-sim --link <folder>/COM1 [--memory FILE] [--log FILE] [fault options]
//
// The editor then opens COM1 from <folder> (the folder it works in) as if an
// instrument were plugged in. Memories are loaded from --memory at start when the
// file exists and saved there on exit (SIGINT, SIGTERM).
#include "PtyServer.h"
#include "Simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &c, 1);
}

bool writeLog(const Simulator &sim, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    for (const SimLogEntry &e : sim.log())
        out << QString::number(e.time, 'f', 6) << (e.fromEditor ? " in  " : " out ") << e.byte << '\n';
    out.flush();
    return file.commit();
}

// The options, read back by name: --link, --memory, --log and the faults.
void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Simulated Corvane instrument on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Symbolic link to create, e.g. build/bin/COM1."),
                                  QStringLiteral("path"));
    const QCommandLineOption memory(QStringLiteral("memory"),
                                    QStringLiteral("Memory file, loaded at start and saved on exit."),
                                    QStringLiteral("file"));
    const QCommandLineOption logFile(QStringLiteral("log"),
                                     QStringLiteral("Write every byte in both directions here on exit."),
                                     QStringLiteral("file"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Answer nothing."));
    const QCommandLineOption never64(QStringLiteral("never-64"),
                                     QStringLiteral("Echo the probe but never enter command mode."));
    const QCommandLineOption productCode(QStringLiteral("product-code"),
                                         QStringLiteral("Product code byte (1 Tessaro, 2 Lumisk, 3 Corvane)."),
                                         QStringLiteral("n"));
    const QCommandLineOption drop(QStringLiteral("drop"), QStringLiteral("Probability of losing an answer byte."),
                                  QStringLiteral("p"));
    const QCommandLineOption garble(QStringLiteral("garble"), QStringLiteral("Probability of garbling an answer byte."),
                                    QStringLiteral("p"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the random faults."),
                                  QStringLiteral("n"));
    const QCommandLineOption slowEcho(QStringLiteral("slow-echo"),
                                      QStringLiteral("Echo data bytes this many seconds late."),
                                      QStringLiteral("seconds"));
    const QCommandLineOption wrongEcho(QStringLiteral("wrong-echo"), QStringLiteral("Echo data bytes with this value."),
                                       QStringLiteral("byte"));
    const QCommandLineOption badChecksum(QStringLiteral("bad-checksum"),
                                         QStringLiteral("Give a wrong system block checksum on reads."));
    const QCommandLineOption disconnectAfter(QStringLiteral("disconnect-after"),
                                             QStringLiteral("Go away after this many received bytes."),
                                             QStringLiteral("n"));
    const QCommandLineOption characterDelay(
        QStringLiteral("character-delay"),
        QStringLiteral("Send the NMEA monitor's character this many seconds after the echo."),
        QStringLiteral("seconds"));
    const QCommandLineOption silentMonitor(QStringLiteral("silent-monitor"),
                                           QStringLiteral("Answer nothing to the NMEA monitor's channel polls."));
    parser.addOptions({link, memory, logFile, silent, never64, productCode, drop, garble, seed, slowEcho, wrongEcho,
                       badChecksum, disconnectAfter, characterDelay, silentMonitor});
}

SimFaults faultsFrom(const QCommandLineParser &parser)
{
    const auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    SimFaults f;
    f.silent = isSet("silent");
    f.neverAnswer64 = isSet("never-64");
    f.dropProbability = value("drop").toDouble();
    f.garbleProbability = value("garble").toDouble();
    f.seed = isSet("seed") ? value("seed").toUInt() : 1;
    f.echoDelay = value("slow-echo").toDouble();
    f.characterDelay = value("character-delay").toDouble();
    f.silentMonitor = isSet("silent-monitor");
    f.wrongEcho = isSet("wrong-echo") ? value("wrong-echo").toInt() : -1;
    f.badChecksum = isSet("bad-checksum");
    f.disconnectAfter = isSet("disconnect-after") ? value("disconnect-after").toInt() : -1;
    return f;
}

// Signals end the event loop through a socket pair, so the memories are saved
// and the link removed on the way out. Null when the pair cannot be made.
std::unique_ptr<QSocketNotifier> quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(g_signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    return notifier;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-sim"));

    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);

    QTextStream err(stderr);
    const QString linkPath = parser.value(QStringLiteral("link"));
    if (!parser.isSet(QStringLiteral("link"))) {
        err << "corvane-sim: --link <path> is required\n";
        return 2;
    }

    Simulator sim;
    const QString memoryPath = parser.value(QStringLiteral("memory"));
    if (!memoryPath.isEmpty() && QFile::exists(memoryPath)) {
        QString error;
        if (!sim.memory.load(memoryPath, &error)) {
            err << "corvane-sim: " << error << '\n';
            return 1;
        }
    }
    sim.setFaults(faultsFrom(parser));
    if (parser.isSet(QStringLiteral("product-code")))
        sim.setProductCode(quint8(parser.value(QStringLiteral("product-code")).toUInt()));

    const std::unique_ptr<QSocketNotifier> signalNotifier = quitOnSignals(app);
    if (!signalNotifier) {
        err << "corvane-sim: socketpair failed\n";
        return 1;
    }

    PtyServer server(sim);
    QString error;
    if (!server.start(linkPath, &error)) {
        err << "corvane-sim: " << error << '\n';
        return 1;
    }
    QObject::connect(&server, &PtyServer::disconnected, &app, &QCoreApplication::quit);
    err << "corvane-sim: serving " << server.terminalName() << " as " << linkPath << '\n';
    err.flush();

    const int rc = app.exec();
    server.stop();
    if (!memoryPath.isEmpty() && !sim.memory.save(memoryPath, &error))
        err << "corvane-sim: cannot save memories: " << error << '\n';
    const QString logPath = parser.value(QStringLiteral("log"));
    if (parser.isSet(QStringLiteral("log")) && !writeLog(sim, logPath))
        err << "corvane-sim: cannot write the log " << logPath << '\n';
    return rc;
}
