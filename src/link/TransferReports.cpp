#include "link/TransferReports.h"

#include "core/Prompts.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"

namespace transfer
{

// Cancel is honoured between whole blocks: the operation ends with its usual
// closing bytes and says what the instrument now holds.
void reportCancelled(InstrumentContext &ctx, const QString &title, const QString &what)
{
    ctx.view.hideProgress();
    ctx.prompts.message(title, what, Prompts::Icon::Information);
}

QString readProblemText(ConfirmedRead::Problem problem)
{
    switch (problem) {
    case ConfirmedRead::Problem::Rejected:
        return QStringLiteral("arrived damaged (wrong checksum)");
    case ConfirmedRead::Problem::Unsteady:
        return QStringLiteral("arrived garbled (two readings differed)");
    default:
        return QStringLiteral("did not arrive completely");
    }
}

void reportIncompleteCopy(InstrumentContext &ctx, const QString &title, const QString &area, const QString &written)
{
    ctx.prompts.message(title,
                        QStringLiteral("The instrument did not send the data of %1 intact.\r\n"
                                       "The copy is incomplete: nothing more was written. Check the cable and "
                                       "the power, then try again.")
                                .arg(area) +
                            (written.isEmpty() ? QString() : QStringLiteral("\r\n") + written),
                        Prompts::Icon::Critical);
}

} // namespace transfer
