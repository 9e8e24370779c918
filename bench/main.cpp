// corvane-bench: how long connect and the transfers take against corvane-sim on a pseudo-terminal, beside their
// protocol minimum; the editor's processor time meanwhile; its start-up time and peak memory; configuration file
// save and load times.
//
//   build/bin/corvane-bench [--ops connect,upload,download,backup,restore] [--startup-runs N] [--file-rounds N]
//                           [--monitor-seconds S]
#include "ArchiveTimes.h"
#include "FileTimes.h"
#include "ProtocolMinimum.h"
#include "RealTimeRuns.h"
#include "StartupProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLoggingCategory>
#include <QTextStream>
#include <algorithm>

namespace
{
constexpr double kRatioTarget = 1.10;
constexpr double kCpuTarget = 0.05;
constexpr double kMonitorCpuTarget = 0.10;
constexpr double kStartupTarget = 0.5;
constexpr double kMemoryTargetMiB = 100;
constexpr double kFileTarget = 0.020;
constexpr double kArchiveEntryTarget = 0.050;
constexpr double kArchiveListTarget = 1.0;

QString verdict(bool met)
{
    return met ? QStringLiteral("yes") : QStringLiteral("NO");
}

QList<BenchOp> parseOps(const QString &text, QString *error)
{
    QList<BenchOp> ops;
    for (const QString &name : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString n = name.trimmed().toLower();
        if (n == QLatin1String("connect"))
            ops << BenchOp::Connect;
        else if (n == QLatin1String("upload"))
            ops << BenchOp::Upload;
        else if (n == QLatin1String("download"))
            ops << BenchOp::Download;
        else if (n == QLatin1String("backup"))
            ops << BenchOp::Backup;
        else if (n == QLatin1String("restore"))
            ops << BenchOp::Restore;
        else
            *error = QStringLiteral("unknown operation %1").arg(name);
    }
    return ops;
}

// The command line: the operations to time, and how much of each measurement.
struct BenchArguments {
    QString ops;
    int startupRuns = 0;
    int fileRounds = 0;
    double monitorSeconds = 0;
    int archiveEntries = 0;
    bool archiveOnly = false;
};

BenchArguments parseArguments(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Timings of the Corvane editor against corvane-sim."));
    parser.addHelpOption();
    const QCommandLineOption opsOption(QStringLiteral("ops"), QStringLiteral("Operations to time, in order."),
                                       QStringLiteral("list"),
                                       QStringLiteral("connect,upload,download,backup,restore"));
    const QCommandLineOption startupRuns(QStringLiteral("startup-runs"), QStringLiteral("Editor starts to time."),
                                         QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption fileRounds(QStringLiteral("file-rounds"), QStringLiteral("Saves and loads to average."),
                                        QStringLiteral("n"), QStringLiteral("200"));
    const QCommandLineOption monitorSeconds(QStringLiteral("monitor-seconds"),
                                            QStringLiteral("Seconds the NMEA monitor polls (0: not measured)."),
                                            QStringLiteral("s"), QStringLiteral("10"));
    const QCommandLineOption archiveEntries(
        QStringLiteral("archive-entries"), QStringLiteral("Entries of the large instrument archive (0: not measured)."),
        QStringLiteral("n"), QStringLiteral("10000"));
    const QCommandLineOption archiveOnly(QStringLiteral("archive-only"),
                                         QStringLiteral("Measure the instrument archive alone."));
    parser.addOptions({opsOption, startupRuns, fileRounds, monitorSeconds, archiveEntries, archiveOnly});
    parser.process(app);
    BenchArguments a;
    a.ops = parser.value(opsOption);
    a.startupRuns = parser.value(startupRuns).toInt();
    a.fileRounds = parser.value(fileRounds).toInt();
    a.monitorSeconds = parser.value(monitorSeconds).toDouble();
    a.archiveEntries = parser.value(archiveEntries).toInt();
    a.archiveOnly = parser.isSet(archiveOnly);
    return a;
}

// The operations' table: real time beside the protocol minimum, and processor use.
// True when every operation went through within its targets.
bool reportOperations(QTextStream &out, const QList<RealTimeResult> &real, const QList<ProtocolCount> &minimum)
{
    bool met = true;
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("operation"), -24)
               .arg(QStringLiteral("real s"), 9)
               .arg(QStringLiteral("minimum s"), 10)
               .arg(QStringLiteral("ratio"), 6)
               .arg(QStringLiteral("<=1.10"), 7)
               .arg(QStringLiteral("CPU %"), 7)
               .arg(QStringLiteral("<5%"), 4)
               .arg(QStringLiteral("bytes out/in  waits s  virtual s"));
    for (int i = 0; i < real.size(); ++i) {
        const RealTimeResult &r = real[i];
        const ProtocolCount &m = minimum[i];
        const double ratio = r.seconds / m.minimum();
        const double cpu = r.seconds > 0 ? r.cpuSeconds / r.seconds : 0;
        met = met && r.ok && m.ok && ratio <= kRatioTarget && cpu < kCpuTarget;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
                   .arg(opName(r.op), -24)
                   .arg(r.seconds, 9, 'f', 3)
                   .arg(m.minimum(), 10, 'f', 3)
                   .arg(ratio, 6, 'f', 3)
                   .arg(verdict(ratio <= kRatioTarget), 7)
                   .arg(cpu * 100, 7, 'f', 2)
                   .arg(verdict(cpu < kCpuTarget), 4)
                   .arg(QStringLiteral("%1/%2").arg(m.bytesOut).arg(m.bytesIn), 13)
                   .arg(m.waits, 8, 'f', 2)
                   .arg(m.virtualSeconds, 10, 'f', 3);
        for (const QString &t : r.told)
            out << "    told: " << t.simplified() << '\n';
        if (!r.ok || !m.ok)
            out << "    the operation did not go through\n";
    }
    out.flush();
    return met;
}

// True when the monitor ran and kept within its processor target.
bool reportMonitor(QTextStream &out, const MonitorResult &monitor)
{
    const double cpu = monitor.cpuSeconds / monitor.seconds;
    const bool met = monitor.ok && cpu < kMonitorCpuTarget;
    out << '\n'
        << QStringLiteral("%1 %2 %    target < %3 %    %4   (%5 s polling channel 1, %6 characters shown)\n")
               .arg(QStringLiteral("NMEA monitor CPU"), -28)
               .arg(cpu * 100, 8, 'f', 2)
               .arg(kMonitorCpuTarget * 100)
               .arg(verdict(met))
               .arg(monitor.seconds, 0, 'f', 1)
               .arg(monitor.characters);
    return met;
}

// Starts the editor `runs` times: the median time to its first show and the peak
// memory of all. True when every start worked and both are within their targets.
bool reportStartup(QTextStream &out, const QString &editor, int runs)
{
    bool met = true;
    QList<double> starts;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        const StartupResult s = probeStartup(editor);
        if (!s.ok) {
            out << "corvane-bench: start-up: " << s.error << '\n';
            met = false;
            break;
        }
        starts << s.seconds;
        peak = std::max(peak, s.peakKiB);
    }
    if (starts.isEmpty())
        return met;
    std::sort(starts.begin(), starts.end());
    const double median = starts[starts.size() / 2];
    const double mib = peak / 1024.0;
    met = met && median < kStartupTarget && mib < kMemoryTargetMiB;
    out << '\n'
        << QStringLiteral("%1 %2 s    target < %3 s    %4   (median of %5, from %6 to %7 s)\n")
               .arg(QStringLiteral("start-up to first show"), -28)
               .arg(median, 8, 'f', 3)
               .arg(kStartupTarget)
               .arg(verdict(median < kStartupTarget))
               .arg(starts.size())
               .arg(starts.first(), 0, 'f', 3)
               .arg(starts.last(), 0, 'f', 3)
        << QStringLiteral("%1 %2 MiB  target < %3 MiB  %4   (ru_maxrss of the editor process)\n")
               .arg(QStringLiteral("peak memory"), -28)
               .arg(mib, 8, 'f', 1)
               .arg(kMemoryTargetMiB)
               .arg(verdict(mib < kMemoryTargetMiB));
    return met;
}

// True when the configuration file was saved and read back within the targets.
bool reportFileTimes(QTextStream &out, int rounds)
{
    const FileTimes f = measureFileTimes(rounds);
    if (!f.ok) {
        out << "corvane-bench: the configuration file could not be saved and read back\n";
        return false;
    }
    out << QStringLiteral("%1 %2 ms   target < %3 ms   %4   (average of %5, %6 bytes)\n")
               .arg(QStringLiteral("save configuration file"), -28)
               .arg(f.saveSeconds * 1000, 8, 'f', 2)
               .arg(kFileTarget * 1000)
               .arg(verdict(f.saveSeconds < kFileTarget))
               .arg(f.rounds)
               .arg(f.bytes)
        << QStringLiteral("%1 %2 ms   target < %3 ms   %4   (average of %5)\n")
               .arg(QStringLiteral("load configuration file"), -28)
               .arg(f.loadSeconds * 1000, 8, 'f', 2)
               .arg(kFileTarget * 1000)
               .arg(verdict(f.loadSeconds < kFileTarget))
               .arg(f.rounds);
    return f.saveSeconds < kFileTarget && f.loadSeconds < kFileTarget;
}
// True when the archive's entry, listing and comparison are within their targets.
bool reportArchiveTimes(QTextStream &out, int entries)
{
    const int instruments = std::max(1, entries / 20);
    const ArchiveTimes a = measureArchiveTimes(entries, instruments, 20);
    if (!a.ok) {
        out << "corvane-bench: instrument archive: " << a.error << '\n';
        return false;
    }
    const auto line = [&](const QString &what, double seconds, double target, const QString &note) {
        out << QStringLiteral("%1 %2 ms   target < %3 ms   %4   (%5)\n")
                   .arg(what, -28)
                   .arg(seconds * 1000, 8, 'f', 2)
                   .arg(target * 1000)
                   .arg(target > 0 ? verdict(seconds < target) : QStringLiteral("-"))
                   .arg(note);
    };
    const QString size = QStringLiteral("%1 entries over %2 instruments").arg(a.entries).arg(a.instruments);
    out << '\n';
    line(QStringLiteral("archive: record an entry"), a.recordSeconds, kArchiveEntryTarget,
         QStringLiteral("average of 20, into %1; processor %2 ms").arg(size).arg(a.recordCpuSeconds * 1000, 0, 'f', 1));
    line(QStringLiteral("archive: list instruments"), a.listSeconds, kArchiveListTarget, size);
    line(QStringLiteral("archive: one instrument's log"), a.logSeconds, kArchiveListTarget,
         QStringLiteral("%1 entries, fields changed in each").arg(a.entries / a.instruments));
    line(QStringLiteral("archive: compare two entries"), a.compareSeconds, kArchiveEntryTarget,
         QStringLiteral("the first and newest of one instrument"));
    out << QStringLiteral("(the archive of %1 was written in %2 s)\n").arg(size).arg(a.buildSeconds, 0, 'f', 1);
    return a.recordSeconds < kArchiveEntryTarget && a.listSeconds < kArchiveListTarget &&
           a.logSeconds < kArchiveListTarget && a.compareSeconds < kArchiveEntryTarget;
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.*=false\ndefault.warning=false"));
    const BenchArguments args = parseArguments(app);

    QTextStream out(stdout);
    QString error;
    const QList<BenchOp> ops = parseOps(args.ops, &error);
    if (!error.isEmpty()) {
        out << "corvane-bench: " << error << '\n';
        return 2;
    }
    const QString bin = QCoreApplication::applicationDirPath();
    if (args.archiveOnly) {
        const bool met = reportArchiveTimes(out, args.archiveEntries);
        out << '\n' << (met ? "every target met\n" : "some targets missed\n");
        return met ? 0 : 1;
    }

    out << "Corvane editor benchmark: corvane-sim on a pseudo-terminal, real time; the protocol minimum is every\n"
           "specified wait (SendByte pauses, Delay, the settle after opening) plus 10 bits at 115200 baud per byte\n"
           "both ways, counted in the same operations on the virtual clock.\n\n";
    out.flush();

    const QList<ProtocolCount> minimum = countProtocol(ops);
    MonitorResult monitor;
    monitor.seconds = args.monitorSeconds;
    const QList<RealTimeResult> real =
        runRealTime(QDir(bin).filePath(QStringLiteral("corvane-sim")), ops, &error, &monitor);
    if (!error.isEmpty()) {
        out << "corvane-bench: " << error << '\n';
        return 1;
    }
    bool allMet = reportOperations(out, real, minimum);
    if (monitor.seconds > 0)
        allMet = reportMonitor(out, monitor) && allMet;
    allMet = reportStartup(out, QDir(bin).filePath(QStringLiteral("corvane-editor")), args.startupRuns) && allMet;
    allMet = reportFileTimes(out, args.fileRounds) && allMet;
    if (args.archiveEntries > 0)
        allMet = reportArchiveTimes(out, args.archiveEntries) && allMet;
    out << '\n' << (allMet ? "every target met\n" : "some targets missed\n");
    return allMet ? 0 : 1;
}
