// Reads of whole blocks from the instrument, taken only when two answers in a row agree byte for byte.
#pragma once

#include <QByteArray>
#include <functional>

class SerialLink;

namespace transfer
{

// Read answers carry no length or checksum of their own: a byte garbled on the way,
// or a late byte of an earlier answer, would be taken as data and copied on. An
// answer must hold exactly the bytes asked for; once the line has shown trouble in
// the operation, two complete answers in a row must also be the same. A clean line
// therefore sees exactly one read frame per block, as the instrument expects.
struct ConfirmedRead {
    enum class Problem { None, Missing, Rejected, Unsteady };
    QByteArray bytes; // the answer, when problem is None
    Problem problem = Problem::Missing;
    int reads = 0;
    bool ok() const { return problem == Problem::None; }
};

// At most this many reads of one block.
constexpr int kMaxReads = 4;

// One read: empties the buffer, sends the frame `code`, `count` (0 for 256),
// `address`, waits at most `wait` seconds: less when the whole answer came (and
// `accept`, when given, takes it). The answer when exactly `count` bytes came,
// else an empty array.
QByteArray readOnce(SerialLink &link, int code, int count, int address, double wait,
                    const std::function<bool(const QByteArray &)> &accept = {});

// Reads until a complete answer that `accept` (when given) takes arrives - on a line
// that showed trouble, two such answers in a row that are the same - at most
// kMaxReads times. Problem tells the last thing that went wrong:
// Missing (no complete answer), Rejected (`accept` refused it), Unsteady (complete
// answers that differed).
ConfirmedRead readConfirmed(SerialLink &link, int code, int count, int address, double wait,
                            const std::function<bool(const QByteArray &)> &accept = {});

} // namespace transfer
