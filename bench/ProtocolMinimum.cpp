#include "ProtocolMinimum.h"

#include "BenchPrompts.h"
#include "Simulator.h"
#include "core/Defaults.h"
#include "kit/SimulatorPort.h"
#include "kit/VirtualClock.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"
#include "ui/TransferWarning.h"

namespace
{
// Adds up the waits that end by their deadline: the specified pauses. Echo and
// answer waits end by their condition on a clean line and are not counted.
class CountingClock : public VirtualClock
{
public:
    double waited = 0;
    bool waitUntil(double deadline, const std::function<bool()> &done) override
    {
        const double start = now();
        const bool ended = VirtualClock::waitUntil(deadline, done);
        if (!ended)
            waited += deadline - start;
        return ended;
    }
};
} // namespace

QList<ProtocolCount> countProtocol(const QList<BenchOp> &ops)
{
    OperationRecord state;
    writeDefaultImage(state, false);
    state.link.portNumber = 1;
    BenchPrompts prompts;
    CountingClock clock;
    Simulator sim;
    sim.memory = benchMemory();
    SimulatorPort port(sim, clock);
    InstrumentView view;
    SerialLink link(state.link, prompts, clock, port, [](int n) { return QStringLiteral("COM%1").arg(n); });
    TransferWarning window;
    WarningQuestion question(window, state.link, link);
    BenchLink b{state, prompts, clock,    link,
                view,  window,  question, [&clock](std::function<void()> fn) {
                    clock.scheduleIn(0.3, std::move(fn)); }};

    QList<ProtocolCount> counts;
    for (BenchOp op : ops) {
        ProtocolCount c;
        c.op = op;
        double start = 0;
        c.ok = runOperation(b, op, [&] {
            clock.waited = 0;
            start = clock.now();
        });
        c.waits = clock.waited;
        c.virtualSeconds = clock.now() - start;
        for (const SimLogEntry &e : sim.log()) {
            if (e.time < start)
                continue;
            (e.fromEditor ? c.bytesOut : c.bytesIn) += 1;
        }
        c.ok = c.ok && prompts.told.isEmpty();
        prompts.told.clear();
        counts << c;
    }
    return counts;
}
