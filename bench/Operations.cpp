#include "Operations.h"

#include "SimMemory.h"
#include "core/EditorState.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"
#include "link/Transfers.h"
#include "ui/TransferWarning.h"

#include <QPushButton>

QString opName(BenchOp op)
{
    switch (op) {
    case BenchOp::Connect:
        return QStringLiteral("connect");
    case BenchOp::Upload:
        return QStringLiteral("upload (all categories)");
    case BenchOp::Download:
        return QStringLiteral("download");
    case BenchOp::Backup:
        return QStringLiteral("backup");
    case BenchOp::Restore:
        return QStringLiteral("restore");
    }
    return QString();
}

SimMemory benchMemory()
{
    SimMemory m = SimMemory::factory(23);
    for (int a = 0; a < 4096; ++a)
        m.eeprom[a] = char((a * 37 + 11) & 0xFF);
    return m;
}

bool operate(BenchLink &b, InstrumentContext &ctx, BenchOp op, const std::function<void()> &mark)
{
    if (op == BenchOp::Connect) {
        mark();
        ctx.connect();
        return b.state.link.connected;
    }
    ctx.connect();
    if (!b.state.link.connected)
        return false;
    transfer::Outcome outcome = transfer::Outcome::Done;
    switch (op) {
    case BenchOp::Upload:
        b.state.transfer.askUser = false;
        for (int i = 1; i <= 14; ++i)
            b.state.transfer.upload[i] = 1;
        mark();
        outcome = transfer::upload(ctx, b.question);
        break;
    case BenchOp::Download:
        b.soon([&b, mark] {
            mark();
            b.window.findChild<QPushButton *>("cmdWarningContinue")->click();
        });
        outcome = transfer::download(ctx, b.question);
        break;
    case BenchOp::Backup:
        mark();
        outcome = transfer::createBackup(ctx);
        break;
    case BenchOp::Restore:
        mark();
        outcome = transfer::restoreBackup(ctx);
        break;
    case BenchOp::Connect:
        break;
    }
    return outcome == transfer::Outcome::Done;
}

bool runOperation(BenchLink &b, BenchOp op, const std::function<void()> &mark)
{
    InstrumentContext ctx{b.state, b.prompts, b.link, b.view,
                          [&b] { connectToInstrument(b.state, b.prompts, b.link, b.view); }};
    bool done = false;
    const bool ran =
        runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] { done = operate(b, ctx, op, mark); });
    return ran && done;
}
