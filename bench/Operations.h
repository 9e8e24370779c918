// The five measured operations, run the same way on the virtual clock and in real time.
#pragma once

#include <QString>
#include <functional>

struct OperationRecord;
struct InstrumentContext;
class Prompts;
class Clock;
class SerialLink;
class InstrumentView;
class TransferWarning;
namespace transfer
{
class CategoryQuestion;
}

enum class BenchOp { Connect, Upload, Download, Backup, Restore };
QString opName(BenchOp op);

// What one operation works with.
struct BenchLink {
    OperationRecord &state;
    Prompts &prompts;
    Clock &clock;
    SerialLink &link;
    InstrumentView &view;
    TransferWarning &window;
    transfer::CategoryQuestion &question;
    // Runs `fn` a moment from now, from the event loop (the user clicking CONTINUE).
    std::function<void(std::function<void()>)> soon;
};

// Runs `op`. A transfer connects first, outside the measured part; `mark` is called
// where the measured part begins (for a download: when CONTINUE is clicked).
// False when the link was lost or the operation did not get through.
bool runOperation(BenchLink &b, BenchOp op, const std::function<void()> &mark);
// The same inside an operation that already holds the busy guard (the runner's): true
// when it got through.
bool operate(BenchLink &b, InstrumentContext &ctx, BenchOp op, const std::function<void()> &mark);

// The instrument's memory file both kinds of run start from.
struct SimMemory;
SimMemory benchMemory();
