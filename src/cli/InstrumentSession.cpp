#include "cli/InstrumentSession.h"

#include "cli/TerminalPrompts.h"
#include "core/StartUp.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/PortResolver.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <iterator>

namespace cli
{

PortChoice choosePort(const QString &value, const Host &host)
{
    PortChoice choice;
    choice.shown = value;
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(value);
    if (m.hasMatch() && m.captured(1).toInt() >= 1 && m.captured(1).toInt() <= 255) {
        choice.number = m.captured(1).toInt();
        PortResolver resolver(host.programFolder);
        if (host.systemPorts)
            resolver.systemPorts = host.systemPorts;
        choice.device = resolver.device(choice.number);
        return choice;
    }
    // A path (a symbolic link included) is opened as it stands; a bare name is a system port.
    choice.number = 1;
    const QFileInfo info(value);
    choice.device =
        (value.contains(QLatin1Char('/')) || info.exists() || info.isSymLink()) ? info.absoluteFilePath() : value;
    return choice;
}

InstrumentSession::InstrumentSession(Host &host, Console &console, TerminalPrompts &prompts, const PortChoice &port)
    : m_host(host), m_console(console), m_prompts(prompts), m_port(port), m_view(console, port.shown),
      m_link(m_record.link, prompts, host.clock, host.port, [device = port.device](int) { return device; })
{
    resetStartupState(state, true);
    state.link.portNumber = quint8(port.number);
    m_link.setView(&m_view);
}

QString InstrumentSession::portText() const
{
    return m_port.device == m_port.shown ? m_port.shown : QStringLiteral("%1 (%2)").arg(m_port.shown, m_port.device);
}

int InstrumentSession::notFound()
{
    if (!m_link.isOpen()) {
        const QString reason = m_host.port.errorString();
        QString text = QStringLiteral("%1 could not be opened%2.")
                           .arg(portText(), reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
        if (m_host.port.lastOpenError() == BytePort::OpenError::PermissionDenied)
            text += QStringLiteral("\nAccess was refused: add your user to the group \"dialout\" (sudo usermod -aG "
                                   "dialout $USER), then log out and in again.");
        m_console.note(text);
        return kExitNotFound;
    }
    m_console.note(QStringLiteral("No Corvane answered on %1. Check that it is switched on and its cable "
                                  "plugged in, then try again.")
                       .arg(portText()));
    return kExitNotFound;
}

void InstrumentSession::apply(const OperationRecord &result)
{
    state.link = result.link;
    state.instrument = result.instrument;
    state.transfer = result.transfer;
    state.factory = result.factory;
    switch (result.imageChange) {
    case ImageChange::None:
        break;
    case ImageChange::Settings:
    case ImageChange::System:
        std::copy(std::begin(result.systemBlock), std::end(result.systemBlock), std::begin(state.systemBlock));
        break;
    case ImageChange::Checksums:
        for (int n = 1; n <= 16; ++n)
            state.configBlock[n][0] = result.configBlock[n][0];
        break;
    case ImageChange::Replaced:
        state.copyImageFrom(result);
        break;
    }
}

int InstrumentSession::run(const QString &task, const std::function<transfer::Outcome(InstrumentContext &)> &operation)
{
    m_view.setTask(task);
    bool reached = false; // the instrument was in command mode at some point
    m_record = OperationRecord::from(state);
    InstrumentContext ctx{m_record, m_prompts, m_link, m_view, [this, &reached] {
                              connectToInstrument(m_record, m_prompts, m_link, m_view);
                              reached = reached || m_record.link.connected;
                          }};
    transfer::Outcome outcome = transfer::Outcome::NotConnected;
    bool interrupted = false;
    if (m_host.onOperation)
        m_host.onOperation(&m_link);
    const bool ran = runInstrumentOperation(m_link, m_record, m_prompts, m_view, [&] {
        outcome = operation(ctx);
        interrupted = m_link.cancelRequested();
    });
    apply(m_record);
    if (m_host.onOperation)
        m_host.onOperation(nullptr);
    m_view.hideProgress();
    m_view.hideConnecting();

    if (!ran)
        return reached ? kExitIncomplete : notFound();
    if (m_prompts.unanswered())
        return kExitRefused;
    switch (outcome) {
    case transfer::Outcome::Done:
        // The operation has told which bytes went unacknowledged.
        return m_link.unacknowledgedBytes() == 0 ? kExitDone : kExitIncomplete;
    case transfer::Outcome::NotConnected:
        return notFound();
    case transfer::Outcome::Cancelled:
        if (interrupted)
            return kExitIncomplete;
        m_console.note(task + QStringLiteral(": not confirmed. Nothing was sent."));
        return kExitRefused;
    case transfer::Outcome::Refused:
        return kExitRefused;
    case transfer::Outcome::Failed:
        return kExitIncomplete;
    }
    return kExitIncomplete;
}

} // namespace cli
