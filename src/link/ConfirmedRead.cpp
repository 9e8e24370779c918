#include "link/ConfirmedRead.h"

#include "link/SerialLink.h"

#include <QList>
#include <QLoggingCategory>
#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcTransfer)

namespace transfer
{

namespace
{
// After the whole answer came, a moment for a stray byte of an earlier answer to show
// itself before the answer is taken.
constexpr double kSettle = 0.002;

QByteArray received(const SerialLink &link, int count)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(quint8(link.element(i + 1)));
    return bytes;
}
} // namespace

QByteArray readOnce(SerialLink &link, int code, int count, int address, double wait,
                    const std::function<bool(const QByteArray &)> &accept)
{
    const int expected = count == 0 ? 256 : count;
    link.emptyBuffer();
    link.sendFrameAt(code, count & 0xFF, address);
    // The wait ends as soon as the whole answer is there (and, for a block that
    // carries a checksum, the checksum matches); the fixed wait is only its bound.
    const double deadline = link.clock().now() + wait;
    const bool complete = link.waitForBytes(
        expected, wait, [&] { return link.RxCount == expected && (!accept || accept(received(link, expected))); });
    if (complete)
        link.delay(std::min(kSettle, std::max(0.0, deadline - link.clock().now())));
    else
        link.delay(std::max(0.0, deadline - link.clock().now()));
    // More bytes than asked for means some belong to an earlier answer.
    if (link.RxCount != expected) {
        qCWarning(lcTransfer) << "read" << code << "at" << address << "brought" << link.RxCount << "of" << expected
                              << "bytes";
        return QByteArray();
    }
    return received(link, expected);
}

ConfirmedRead readConfirmed(SerialLink &link, int code, int count, int address, double wait,
                            const std::function<bool(const QByteArray &)> &accept)
{
    ConfirmedRead result;
    QList<QByteArray> answers; // the complete answers so far, all different
    while (result.reads < kMaxReads) {
        ++result.reads;
        const QByteArray answer = readOnce(link, code, count, address, wait, accept);
        if (answer.isEmpty()) {
            result.problem = ConfirmedRead::Problem::Missing;
            link.noteTrouble();
            continue;
        }
        const bool taken = !accept || accept(answer);
        if (answers.contains(answer)) {
            result.bytes = answer;
            result.problem = taken ? ConfirmedRead::Problem::None : ConfirmedRead::Problem::Rejected;
            return result;
        }
        if (!answers.isEmpty()) {
            link.noteTrouble();
            result.problem = ConfirmedRead::Problem::Unsteady;
            qCWarning(lcTransfer) << "read" << code << "at" << address << "differed from the ones before";
        }
        if (!taken) {
            link.noteTrouble();
            result.problem = ConfirmedRead::Problem::Rejected;
        }
        answers.append(answer);
    }
    return result;
}

} // namespace transfer
