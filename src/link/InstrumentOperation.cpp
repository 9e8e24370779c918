// One instrument operation at a time, and the one place where a lost link ends an operation.
#include "core/Prompts.h"
#include "link/InstrumentView.h"
#include "link/LinkLog.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

QString linkStatusText(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Claiming:
        return QStringLiteral("Connected to Tessaro");
    case LinkStatus::Connected:
        return QStringLiteral("Connected to Corvane");
    case LinkStatus::NotConnected:
        return QStringLiteral("Not connected to Corvane");
    case LinkStatus::NotConnectedTessaro:
        break;
    }
    return QStringLiteral("Not connected to Tessaro");
}

void tellInstrumentBusy(Prompts &prompts)
{
    prompts.message(applicationTitle(), QStringLiteral("Please wait: the instrument is busy."),
                    Prompts::Icon::Information);
}

InstrumentOperation::InstrumentOperation(SerialLink &link, Prompts &prompts) : m_link(link), m_refused(link.busy())
{
    // Two operations would empty and read the same receive buffer under each other.
    if (m_refused)
        tellInstrumentBusy(prompts);
    else
        m_link.setBusy(true);
}

InstrumentOperation::~InstrumentOperation()
{
    if (!m_refused)
        m_link.setBusy(false);
}

bool reportUnacknowledgedBytes(SerialLink &link, Prompts &prompts, const QString &title)
{
    const int missed = link.unacknowledgedBytes();
    if (missed == 0)
        return true;
    prompts.message(title,
                    QStringLiteral("The instrument did not acknowledge %1 of the bytes sent to it.\r\n"
                                   "The data in the instrument may be incomplete: check the cable and "
                                   "the power, then try again.")
                        .arg(missed),
                    Prompts::Icon::Exclamation);
    return false;
}

bool runInstrumentOperation(SerialLink &link, OperationRecord &state, Prompts &prompts, InstrumentView &view,
                            const std::function<void()> &body)
{
    InstrumentOperation operation(link, prompts);
    if (operation.refused())
        return false;
    link.clearImageWrites();
    // Where the operation's writes reached, however it ends.
    struct NoteWrites {
        SerialLink &link;
        OperationRecord &state;
        ~NoteWrites()
        {
            state.writtenAreas = link.imageWrites().reached();
            state.unconfirmedAreas = link.imageWrites().unconfirmed();
        }
    } noteWrites{link, state};
    try {
        body();
        return true;
    } catch (const LinkLost &lost) {
        qCWarning(lcLink) << "operation ended:" << lost.what();
        state.link.connected = false;
        state.lostReason = QString::fromStdString(lost.what());
        view.hideConnecting();
        view.hideProgress();
        view.linkStatusChanged(LinkStatus::NotConnected);
        if (!link.isShutDown())
            prompts.message(QStringLiteral("Connection lost"),
                            QString::fromStdString(lost.what()) + QStringLiteral("\n") +
                                QStringLiteral("Please check data and power connections."),
                            Prompts::Icon::Critical);
        return false;
    }
}
