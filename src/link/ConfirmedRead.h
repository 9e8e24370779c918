// Reads of whole blocks from the instrument, taken only when two answers in a row agree byte for byte.
#pragma once

#include <QByteArray>
#include <functional>

class SerialLink;

namespace transfer
{

// Read answers carry no length or checksum of their own, and the 8-bit checksum of
// the settings block matches one randomly garbled answer in 256: a byte garbled on
// the way, or a late byte of an earlier answer, would be taken as data and copied on.
// An answer must therefore hold exactly the bytes asked for, and two complete answers
// must be the same before either is taken. Two the same that `accept` refuses are
// what the instrument holds: `bytes` keeps them while problem says Rejected.
struct ConfirmedRead {
    enum class Problem { None, Missing, Rejected, Unsteady };
    QByteArray bytes; // the answer two readings agreed on (problem None or Rejected)
    Problem problem = Problem::Missing;
    int reads = 0;
    bool ok() const { return problem == Problem::None; }
    // Two readings agreed, whether or not `accept` took them.
    bool agreed() const { return !bytes.isEmpty(); }
};

// At most this many reads of one block.
constexpr int kMaxReads = 4;

// One read: empties the buffer, sends the frame `code`, `count` (0 for 256),
// `address`, waits at most `wait` seconds: less when the whole answer came (and
// `accept`, when given, takes it). The answer when exactly `count` bytes came,
// else an empty array.
QByteArray readOnce(SerialLink &link, int code, int count, int address, double wait,
                    const std::function<bool(const QByteArray &)> &accept = {});

// Reads until two complete answers are the same, at most kMaxReads times. Problem
// tells the last thing that went wrong: Missing (no complete answer), Rejected
// (`accept` refused the answers), Unsteady (complete answers that all differed).
ConfirmedRead readConfirmed(SerialLink &link, int code, int count, int address, double wait,
                            const std::function<bool(const QByteArray &)> &accept = {});

} // namespace transfer
