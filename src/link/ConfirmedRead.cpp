#include "link/ConfirmedRead.h"

#include "link/SerialLink.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcTransfer)

namespace transfer
{

QByteArray readOnce(SerialLink &link, int code, int count, int address, double wait)
{
    const int expected = count == 0 ? 256 : count;
    link.emptyBuffer();
    link.sendFrameAt(code, count & 0xFF, address);
    link.Delay(wait);
    // More bytes than asked for means some belong to an earlier answer.
    if (link.RxCount != expected) {
        qCWarning(lcTransfer) << "read" << code << "at" << address << "brought" << link.RxCount << "of" << expected
                              << "bytes";
        return QByteArray();
    }
    QByteArray bytes(expected, '\0');
    for (int i = 0; i < expected; ++i)
        bytes[i] = char(quint8(link.element(i + 1)));
    return bytes;
}

ConfirmedRead readConfirmed(SerialLink &link, int code, int count, int address, double wait,
                            const std::function<bool(const QByteArray &)> &accept)
{
    ConfirmedRead result;
    QByteArray previous;
    while (result.reads < kMaxReads) {
        ++result.reads;
        const QByteArray answer = readOnce(link, code, count, address, wait);
        if (answer.isEmpty()) {
            result.problem = ConfirmedRead::Problem::Missing;
            previous.clear();
            link.noteTrouble();
            continue;
        }
        if (accept && !accept(answer)) {
            result.problem = ConfirmedRead::Problem::Rejected;
            previous.clear();
            link.noteTrouble();
            continue;
        }
        if (!link.troubleSeen() || answer == previous) {
            result.bytes = answer;
            result.problem = ConfirmedRead::Problem::None;
            return result;
        }
        if (!previous.isEmpty()) {
            link.noteTrouble();
            result.problem = ConfirmedRead::Problem::Unsteady;
            qCWarning(lcTransfer) << "read" << code << "at" << address << "differed from the one before";
        }
        previous = answer;
    }
    return result;
}

} // namespace transfer
