// Fault soak: thousands of transfers against the simulated instrument with random faults; none may end in a silent
// corruption or a hang.
//
// Every run is seeded (run i uses seed kFirstSeed + i) and starts from one of a few known instrument memories and
// editor images. It ends in one of four ways:
//   clean success     nobody was told anything, and the instrument's memories, its mode, the editor's image and its
//                     Connected flag are exactly what a fault-free twin run from the same start leaves;
//   reported failure  the user was told (a message, or the "Can't find Corvane" question, or the port prompt), and
//                     what the message claims holds ("Nothing was written": the instrument's memories are as they
//                     were; "Nothing was changed": the editor's image is as it was after connecting);
//   silent corruption nobody was told, yet the result differs from the twin's, or a message claims what is not so;
//   hang              the virtual clock found a wait nothing could end, or an operation passed kVirtualBound.
// Line noise (dropped, garbled and late answer bytes) starts at the first byte in half the noisy runs and once the
// instrument is connected in the other half. The handshake's identification answers carry no check of any kind: a
// garbled serial number or version is shown as received, and a garbled counter of new configurations stays in image
// bytes 10 and 11 until an upload, download or backup reads the whole settings block (a restore does not), so a
// restore whose handshake lost exactly those two bytes would count here. Such a run has not come up.
//
// CORVANE_SOAK_RUNS and CORVANE_SOAK_FIRST_SEED run it longer or from other seeds; CORVANE_SOAK_SEED (one run with
// that seed, described in full) helps when chasing a finding.
#include "Simulator.h"
#include "core/Defaults.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimulatorPort.h"
#include "kit/VirtualClock.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/SerialLink.h"
#include "link/Transfers.h"
#include "ui/TransferWarning.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace
{

enum class Op { Upload, Download, Backup, Restore };

const char *opName(Op op)
{
    switch (op) {
    case Op::Upload:
        return "upload";
    case Op::Download:
        return "download";
    case Op::Backup:
        return "backup";
    case Op::Restore:
        return "restore";
    }
    return "?";
}

constexpr int kDefaultRuns = 3000;
constexpr quint32 kFirstSeed = 20240601;
constexpr int kVariants = 6;
// No transfer, however unlucky, may take longer than this (virtual seconds).
constexpr double kVirtualBound = 1800;
constexpr int kDownloadable[] = {8, 9, 10, 11, 13, 14};

// --- the starting points -----------------------------------------------------------------------

// A unit with settings, display blocks, tables and a backup of its own.
SimMemory makeMemory(int variant)
{
    SimMemory m = SimMemory::factory(23);
    QRandomGenerator r(quint32(7000 + variant));
    for (int i = 1; i < 256; ++i)
        if (i < 12 || i > 15) // the serial number stays as the factory set it
            m.nvm[i] = char(r.bounded(256));
    m.nvm[10] = char(r.bounded(4)); // a counter the connection reads as such
    m.fixSystemBlockChecksum();
    for (int a = 0; a < 6144; ++a)
        m.eeprom[a] = char(r.bounded(256));
    for (int a = 20608; a < 20864; ++a)
        m.eeprom[a] = char(r.bounded(256));
    for (int a = 32768; a < 38912; ++a)
        m.eeprom[a] = char(r.bounded(256));
    return m;
}

// The editor's image: defaults with edits all over the system block and the display blocks.
std::unique_ptr<EditorState> makeImage(int variant)
{
    auto s = std::make_unique<EditorState>();
    writeDefaultsToRam(*s);
    QRandomGenerator r(quint32(9000 + variant));
    for (int i = 1; i < 256; ++i)
        if (r.bounded(3) == 0)
            s->systemBlock[i] = quint8(r.bounded(256));
    for (int n = 1; n <= 16; ++n)
        for (int i = 1; i < 128; ++i)
            s->configBlock[n][i] = quint8(r.bounded(256));
    return s;
}

const SimMemory &startMemory(int variant)
{
    static std::vector<SimMemory> memories;
    if (memories.empty())
        for (int v = 0; v < kVariants; ++v)
            memories.push_back(makeMemory(v));
    return memories[size_t(variant)];
}

const EditorState &startImage(int variant)
{
    static std::vector<std::unique_ptr<EditorState>> images;
    if (images.empty())
        for (int v = 0; v < kVariants; ++v)
            images.push_back(makeImage(v));
    return *images[size_t(variant)];
}

// --- one run's plan ----------------------------------------------------------------------------

struct Plan {
    quint32 seed = 0;
    Op op = Op::Upload;
    int memoryVariant = 0;
    int imageVariant = 0;
    quint16 categories = 0; // bit i: category i of the upload or download
    SimFaults atStart;      // from the first byte
    SimFaults connected;    // from the moment the instrument is connected (adds the line noise)
    double unplugAfter = -1;
    bool tryAgainOnce = false;
    double cancelAfter = -1; // Cancel in the progress window
    double editAfter = -1;   // an upload: the user edits the image meanwhile

    QString key() const
    {
        return QStringLiteral("%1/%2/%3/%4").arg(opName(op)).arg(memoryVariant).arg(imageVariant).arg(categories);
    }
    QString describe() const
    {
        const SimFaults &f = connected;
        const bool noiseAtStart = atStart.dropProbability + atStart.garbleProbability + atStart.delayProbability > 0;
        return QStringLiteral("seed %1: %2 of memory %3, image %4, categories %5; silent %6, drop %7, garble %8, "
                              "late %9 (+%10 s)%17, wrong echo %11, echo delay %12, bad checksum %13, disconnect "
                              "after %14, mute after %18, never 64 %15, unplug after %16 s")
                   .arg(seed)
                   .arg(opName(op))
                   .arg(memoryVariant)
                   .arg(imageVariant)
                   .arg(categories, 0, 2)
                   .arg(f.silent)
                   .arg(f.dropProbability)
                   .arg(f.garbleProbability)
                   .arg(f.delayProbability)
                   .arg(f.extraDelay)
                   .arg(f.wrongEcho)
                   .arg(f.echoDelay)
                   .arg(f.badChecksum)
                   .arg(f.disconnectAfter)
                   .arg(f.neverAnswer64)
                   .arg(unplugAfter)
                   .arg(noiseAtStart ? QStringLiteral(" from the start") : QString())
                   .arg(f.muteAfter) +
               QStringLiteral(", cancel after %1 s, edit after %2 s").arg(cancelAfter).arg(editAfter);
    }
};

double pick(QRandomGenerator &r, std::initializer_list<double> values)
{
    return *(values.begin() + r.bounded(int(values.size())));
}

// Rough length of a clean run, so that unplugging and disconnecting fall inside it.
double roughSeconds(const Plan &p)
{
    constexpr double kConnect = 4.5;
    switch (p.op) {
    case Op::Upload:
        return kConnect + 4 + ((p.categories >> 1) & 1) * 13 + ((p.categories >> 4) & 1) * 4.5;
    case Op::Download:
        return kConnect + 4;
    case Op::Backup:
    case Op::Restore:
        return kConnect + 100;
    }
    return 10;
}

int roughBytes(const Plan &p)
{
    constexpr int kConnect = 70;
    switch (p.op) {
    case Op::Upload:
        return kConnect + 280 + ((p.categories >> 1) & 1) * 2130 + ((p.categories >> 4) & 1) * 800;
    case Op::Download:
        return kConnect + 30;
    case Op::Backup:
    case Op::Restore:
        return kConnect + 7900;
    }
    return 100;
}

Plan makePlan(quint32 seed)
{
    Plan p;
    p.seed = seed;
    QRandomGenerator r(seed);
    // Backups and restores move thirty times the bytes of a small upload: fewer of them.
    const int opDraw = r.bounded(100);
    p.op = opDraw < 40 ? Op::Upload : opDraw < 70 ? Op::Download : opDraw < 85 ? Op::Backup : Op::Restore;
    p.memoryVariant = r.bounded(kVariants);
    p.imageVariant = r.bounded(kVariants);
    if (p.op == Op::Upload) {
        // The display blocks and the curves make an upload long: mostly without them.
        for (int c = 1; c <= 14; ++c) {
            const bool big = c == 1 || c == 4;
            if (r.bounded(100) < (big ? 12 : 50))
                p.categories |= quint16(1u << c);
        }
    } else if (p.op == Op::Download) {
        for (int c : kDownloadable)
            if (r.bounded(2))
                p.categories |= quint16(1u << c);
    }

    SimFaults f;
    f.seed = seed;
    const int kind = r.bounded(100);
    bool noise = false;
    if (kind < 8) {
        // no fault at all
    } else if (kind < 40) {
        noise = true;
    } else if (kind < 46) {
        f.silent = true;
    } else if (kind < 56) {
        p.unplugAfter = r.generateDouble() * roughSeconds(p);
    } else if (kind < 66) {
        f.disconnectAfter = r.bounded(roughBytes(p));
    } else if (kind < 72) {
        f.muteAfter = r.bounded(roughBytes(p));
    } else if (kind < 77) {
        f.badChecksum = true;
    } else if (kind < 82) {
        f.wrongEcho = r.bounded(256);
    } else if (kind < 87) {
        f.echoDelay = pick(r, {0.05, 0.15, 0.25, 0.6});
    } else if (kind < 90) {
        f.neverAnswer64 = true;
    } else {
        noise = true;
        const int also = r.bounded(3);
        if (also == 0)
            p.unplugAfter = r.generateDouble() * roughSeconds(p);
        else if (also == 1)
            f.disconnectAfter = r.bounded(roughBytes(p));
        else
            f.muteAfter = r.bounded(roughBytes(p));
    }
    p.atStart = f;
    if (noise) {
        do {
            f.dropProbability = pick(r, {0, 0, 0.001, 0.005, 0.02, 0.05});
            f.garbleProbability = pick(r, {0, 0, 0.001, 0.005, 0.02, 0.05});
            f.delayProbability = pick(r, {0, 0, 0.001, 0.005, 0.02, 0.05});
        } while (f.dropProbability + f.garbleProbability + f.delayProbability == 0);
        f.extraDelay = pick(r, {0.03, 0.12, 0.5, 1.5});
    }
    p.connected = f;
    // Half the noisy runs have it from the first byte, through the handshake.
    if (noise && r.bounded(2))
        p.atStart = f;
    p.tryAgainOnce = r.bounded(4) == 0;
    // Drawn last, so that every earlier seed keeps its faults.
    if (r.bounded(100) < 12)
        p.cancelAfter = r.generateDouble() * roughSeconds(p);
    if (p.op == Op::Upload && r.bounded(100) < 30)
        p.editAfter = r.generateDouble() * roughSeconds(p);
    return p;
}

// --- running one plan --------------------------------------------------------------------------

struct Result {
    bool hang = false;
    QString hangWhat;
    QList<PromptRecord> told;
    QStringList unexpected;
    SimMemory memory;
    Simulator::Mode mode = Simulator::Mode::Normal;
    bool powerLost = false;
    std::unique_ptr<EditorState> image = std::make_unique<EditorState>();
    std::unique_ptr<EditorState> imageWhenConnected; // empty when it never connected
    bool connected = false;
    double seconds = 0;
};

struct SoakBench {
    EditorState state;
    ScriptedPrompts prompts;
    VirtualClock clock;
    Simulator sim;
    SimulatorPort port{sim, clock};
    InstrumentView view;
    SerialLink link{state, prompts, clock, port, [](int n) { return QStringLiteral("COM%1").arg(n); }};
    TransferWarning window{state};
    WarningQuestion question{window, state, clock};
    std::optional<SimFaults> whenConnected;
    std::unique_ptr<EditorState> imageWhenConnected;
    InstrumentContext ctx{state, prompts, link, view, [this] { connect(); }, {}};
    transfer::PcClock pc;

    void connect()
    {
        connectToInstrument(state, prompts, clock, link, view);
        if (!state.link.connected)
            return;
        if (whenConnected) {
            sim.setFaults(*whenConnected);
            whenConnected.reset();
        }
        imageWhenConnected = std::make_unique<EditorState>();
        imageWhenConnected->copyImageFrom(state);
    }
};

Result run(const Plan &plan, bool withFaults)
{
    SoakBench b;
    b.state.copyImageFrom(startImage(plan.imageVariant));
    b.state.link.portNumber = 3;
    b.state.transfer.askUser = false;
    for (int c = 1; c <= 14; ++c) {
        b.state.transfer.upload[c] = (plan.categories >> c) & 1;
        b.state.transfer.download[c] = (plan.categories >> c) & 1;
    }
    b.link.setView(&b.view);
    b.sim.memory = startMemory(plan.memoryVariant);
    b.pc.today = [] { return QDate(2011, 6, 14); };
    b.pc.time = [] { return QTime(13, 45, 10); };
    if (withFaults) {
        b.sim.setFaults(plan.atStart);
        b.whenConnected = plan.connected;
        if (plan.unplugAfter >= 0)
            b.clock.scheduleIn(plan.unplugAfter, [&b] { b.port.loseNow(); });
        if (plan.cancelAfter >= 0)
            b.clock.scheduleIn(plan.cancelAfter, [&b] { b.link.requestCancel(); });
    }
    // An edit while the upload runs: the instrument must get the image as it was when
    // the upload started (the reference run has no edit; it is taken back afterwards).
    bool edited = false;
    if (withFaults && plan.editAfter >= 0)
        b.clock.scheduleIn(plan.editAfter, [&b, &edited] {
            b.state.configBlock[3][10] ^= 0x5A;
            b.state.systemBlock[30] ^= 0x5A;
            edited = true;
        });

    using Kind = PromptRecord::Kind;
    int questions = 0;
    b.prompts.otherwise(Kind::Message, [](const PromptRecord &) { return QString(); });
    b.prompts.otherwise(Kind::YesNo, [&](const PromptRecord &rec) {
        if (rec.title != QLatin1String("Can't find Corvane")) {
            b.prompts.unexpected << QStringLiteral("question \"%1\"").arg(rec.title);
            return QStringLiteral("7");
        }
        return (plan.tryAgainOnce && questions++ == 0) ? QStringLiteral("6") : QStringLiteral("7");
    });
    // A port lost while it settles after opening counts as one that did not open.
    b.prompts.otherwise(Kind::Input, [&](const PromptRecord &rec) {
        if (rec.title != QLatin1String("Communications Error"))
            b.prompts.unexpected << QStringLiteral("input box \"%1\"").arg(rec.title);
        return QString();
    });
    if (plan.op == Op::Download)
        b.clock.scheduleIn(0.3, [&b] { b.window.findChild<QPushButton *>("cmdWarningContinue")->click(); });

    Result r;
    b.clock.limit = b.clock.now() + kVirtualBound;
    const double start = b.clock.now();
    try {
        runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] {
            switch (plan.op) {
            case Op::Upload:
                transfer::upload(b.ctx, b.question, b.pc);
                break;
            case Op::Download:
                transfer::download(b.ctx, b.question);
                break;
            case Op::Backup:
                transfer::createBackup(b.ctx);
                break;
            case Op::Restore:
                transfer::restoreBackup(b.ctx);
                break;
            }
        });
    } catch (const VirtualClockHang &hang) {
        r.hang = true;
        r.hangWhat = QString::fromLatin1(hang.what());
    }
    r.seconds = b.clock.now() - start;
    b.clock.clearScheduled();

    for (const PromptRecord &rec : b.prompts.records)
        r.told << rec;
    r.unexpected = b.prompts.unexpected;
    r.memory = b.sim.memory;
    r.mode = b.sim.mode();
    r.powerLost = b.sim.muted();
    if (edited) {
        b.state.configBlock[3][10] ^= 0x5A;
        b.state.systemBlock[30] ^= 0x5A;
        if ((plan.categories >> 1) & 1)
            b.state.configBlock[3][0] = configBlockChecksum(b.state.configBlock[3]);
    }
    r.image->copyImageFrom(b.state);
    r.imageWhenConnected = std::move(b.imageWhenConnected);
    r.connected = b.state.link.connected != false;
    return r;
}

// --- comparing ---------------------------------------------------------------------------------

QString firstDifference(const QByteArray &a, const QByteArray &b, const char *what)
{
    for (int i = 0; i < qMin(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return QStringLiteral("%1 byte %2: %3 instead of %4").arg(what).arg(i).arg(quint8(a[i])).arg(quint8(b[i]));
    return a.size() == b.size() ? QString() : QStringLiteral("%1 sizes differ").arg(what);
}

QByteArray imageBytes(const EditorState &s)
{
    QByteArray bytes(reinterpret_cast<const char *>(s.systemBlock), sizeof s.systemBlock);
    bytes += QByteArray(reinterpret_cast<const char *>(s.configBlock), sizeof s.configBlock);
    bytes += QByteArray(reinterpret_cast<const char *>(s.calCurve), sizeof s.calCurve);
    return bytes;
}

// Empty when the two ends are the same; otherwise the first difference found. An instrument that lost its power
// keeps only its non-volatile memories: its RAM, clock, mode and link byte count no more.
QString difference(const Result &got, const Result &want)
{
    QString d = firstDifference(got.memory.nvm, want.memory.nvm, "instrument internal memory");
    if (d.isEmpty())
        d = firstDifference(got.memory.eeprom, want.memory.eeprom, "instrument 24C512");
    if (d.isEmpty())
        d = firstDifference(imageBytes(*got.image), imageBytes(*want.image), "editor image");
    if (d.isEmpty() && got.connected != want.connected)
        d = QStringLiteral("editor Connected %1").arg(got.connected);
    if (got.powerLost)
        return d;
    if (d.isEmpty())
        d = firstDifference(got.memory.ram, want.memory.ram, "instrument RAM");
    if (d.isEmpty() &&
        (got.memory.clockHours != want.memory.clockHours || got.memory.clockMinutes != want.memory.clockMinutes))
        d = QStringLiteral("instrument clock");
    if (d.isEmpty() && got.memory.linkByte != want.memory.linkByte)
        d = QStringLiteral("instrument link byte %1 instead of %2").arg(got.memory.linkByte).arg(want.memory.linkByte);
    if (d.isEmpty() && got.mode != want.mode)
        d = QStringLiteral("instrument left in mode %1").arg(int(got.mode));
    return d;
}

// What a message promised that is not so; empty when every promise holds.
QString brokenPromise(const Result &r, const SimMemory &start)
{
    for (const PromptRecord &rec : r.told) {
        if (rec.text.contains(QLatin1String("Nothing was written"))) {
            QString d = firstDifference(r.memory.nvm, start.nvm, "instrument internal memory");
            if (d.isEmpty())
                d = firstDifference(r.memory.eeprom, start.eeprom, "instrument 24C512");
            if (!d.isEmpty())
                return QStringLiteral("\"Nothing was written\", but ") + d;
        }
        if (rec.text.contains(QLatin1String("Nothing was changed")) && r.imageWhenConnected) {
            const QString d = firstDifference(imageBytes(*r.image), imageBytes(*r.imageWhenConnected), "editor image");
            if (!d.isEmpty())
                return QStringLiteral("\"Nothing was changed\", but ") + d;
        }
    }
    return QString();
}

struct Counts {
    int runs = 0, clean = 0, reported = 0, silent = 0, hangs = 0;
    std::map<QString, int> messages; // first line of the first message told, numbers as N, how often
    double longest = 0;
    QString longestRun;
    std::map<QString, std::array<int, 3>> perOperation; // runs, clean successes, reported failures
};

// Seeds run past the range of a signed int.
quint32 envSeed(const char *name)
{
    return quint32(qEnvironmentVariable(name).toUInt());
}

QString messageKind(const PromptRecord &rec)
{
    static const QRegularExpression number(QStringLiteral("\\d+"));
    return rec.text.section(QLatin1Char('\n'), 0, 0)
        .section(QLatin1Char('\r'), 0, 0)
        .replace(number, QStringLiteral("N"));
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void faultSoak()
    {
        const int runs = qEnvironmentVariableIsSet("CORVANE_SOAK_RUNS")
                             ? qEnvironmentVariableIntValue("CORVANE_SOAK_RUNS")
                             : kDefaultRuns;
        const bool single = qEnvironmentVariableIsSet("CORVANE_SOAK_SEED");
        const quint32 first = single ? envSeed("CORVANE_SOAK_SEED")
                              : qEnvironmentVariableIsSet("CORVANE_SOAK_FIRST_SEED")
                                  ? envSeed("CORVANE_SOAK_FIRST_SEED")
                                  : kFirstSeed;

        // The offscreen platform's remarks and the link's own trace would drown the findings.
        QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false\ncorvane.*=false"));
        QElapsedTimer timer;
        timer.start();
        std::map<QString, std::unique_ptr<Result>> references;
        Counts n;
        QStringList findings;
        for (int i = 0; i < (single ? 1 : runs); ++i) {
            const Plan plan = makePlan(first + quint32(i));
            const Result got = run(plan, true);
            ++n.runs;
            auto &mine = n.perOperation[QString::fromLatin1(opName(plan.op))];
            ++mine[0];
            if (single)
                qInfo().noquote() << plan.describe() << "took" << got.seconds << "s; told:"
                                  << (got.told.isEmpty() ? QStringLiteral("nothing") : got.told.first().text);
            for (const QString &u : got.unexpected)
                findings << plan.describe() + QStringLiteral(": unexpected ") + u;
            if (got.seconds > n.longest) {
                n.longest = got.seconds;
                n.longestRun = plan.describe();
            }
            if (got.hang || got.seconds > kVirtualBound) {
                ++n.hangs;
                findings << plan.describe() + QStringLiteral(": HANG ") + got.hangWhat;
                continue;
            }
            if (!got.told.isEmpty()) {
                ++n.reported;
                ++mine[2];
                ++n.messages[messageKind(got.told.first())];
                const QString broken = brokenPromise(got, startMemory(plan.memoryVariant));
                if (!broken.isEmpty()) {
                    ++n.silent;
                    findings << plan.describe() + QStringLiteral(": SILENT ") + broken;
                }
                continue;
            }
            auto &reference = references[plan.key()];
            if (!reference) {
                reference = std::make_unique<Result>(run(plan, false));
                QVERIFY2(!reference->hang && reference->told.isEmpty(), qPrintable(plan.describe()));
            }
            const QString d = difference(got, *reference);
            if (d.isEmpty()) {
                ++n.clean;
                ++mine[1];
            } else {
                ++n.silent;
                findings << plan.describe() + QStringLiteral(": SILENT ") + d;
            }
        }
        const double seconds = timer.elapsed() / 1000.0;

        qInfo().noquote() << QStringLiteral("soak: %1 runs, %2 clean successes, %3 reported failures, %4 silent "
                                            "corruptions, %5 hangs (%6 fault-free twins, %7 s)")
                                 .arg(n.runs)
                                 .arg(n.clean)
                                 .arg(n.reported)
                                 .arg(n.silent)
                                 .arg(n.hangs)
                                 .arg(references.size())
                                 .arg(seconds, 0, 'f', 1);
        for (const auto &[op, c] : n.perOperation)
            qInfo().noquote()
                << QStringLiteral("  %1: %2 runs, %3 clean, %4 reported").arg(op).arg(c[0]).arg(c[1]).arg(c[2]);
        for (const auto &[text, count] : n.messages)
            qInfo().noquote() << QStringLiteral("  %1 x %2").arg(count, 5).arg(text);
        qInfo().noquote() << QStringLiteral("longest run: %1 virtual seconds, %2").arg(n.longest).arg(n.longestRun);
        for (const QString &f : findings.mid(0, 40))
            qInfo().noquote() << f;
        QCOMPARE(n.silent, 0);
        QCOMPARE(n.hangs, 0);
        QVERIFY2(findings.isEmpty(), qPrintable(findings.value(0)));
        QCOMPARE(n.runs, single ? 1 : runs);
        QVERIFY(n.clean + n.reported + n.silent + n.hangs == n.runs);
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
