#include "cli/InstrumentSession.h"

#include "cli/TerminalPrompts.h"
#include "core/Protocol.h"
#include "core/StartUp.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentImage.h"
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

QString portProblem(const PortChoice &port)
{
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return QString(); // COMn names no file there
#else
    const QFileInfo info(port.device);
    if (!info.exists())
        return QStringLiteral("%1 could not be opened: No such file or directory.").arg(port.shown);
    if (info.isDir())
        return QStringLiteral("%1 is not a serial port: it is a folder.").arg(port.shown);
    if (info.isFile())
        return QStringLiteral("%1 is not a serial port: it is a plain file.").arg(port.shown);
    return QString();
#endif
}

InstrumentSession::InstrumentSession(Host &host, Console &console, TerminalPrompts &prompts, const PortChoice &port)
    : m_host(host), m_console(console), m_prompts(prompts), m_port(port), m_view(console, port.shown),
      m_noted(prompts, m_record.told),
      m_link(m_record.link, m_noted, host.clock, host.port, [device = port.device](int) { return device; })
{
    resetStartupState(state, true);
    state.link.portNumber = quint8(port.number);
    m_link.setView(&m_view);
    m_prompts.namePort(port.number, port.device, port.shown);
}

InstrumentSession::~InstrumentSession()
{
    recordEntry();
}

void InstrumentSession::recordEntry()
{
    if (!m_ended)
        return;
    if (!m_recorder)
        m_recorder = std::make_unique<recording::Recorder>(archive);
    recording::About named = about;
    named.port = m_port.shown;
    const QString problem = m_recorder->record(*m_ended, named);
    m_ended.reset();
    if (!problem.isEmpty())
        m_console.note(problem);
}

QString InstrumentSession::portText() const
{
    // COMn with the device it stands for; a path as the user gave it.
    const bool byNumber = m_port.shown.compare(QStringLiteral("COM%1").arg(m_port.number), Qt::CaseInsensitive) == 0;
    return byNumber && m_port.device != m_port.shown ? QStringLiteral("%1 (%2)").arg(m_port.shown, m_port.device)
                                                     : m_port.shown;
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

bool InstrumentSession::closeEarly(InstrumentContext &ctx, const Closing &closing)
{
    if (!m_record.link.connected)
        return true;
    // In the middle of a frame the instrument would take the closing bytes as data.
    if (!m_link.betweenFrames())
        return false;
    try {
        m_link.delay(0.25); // the rest of an answer arrives first
        if (closing)
            closing(ctx);
        else
            transfer::leaveCommandMode(ctx, proto::kSoftReset);
        return true;
    } catch (const LinkLost &) {
        return false;
    }
}

int InstrumentSession::endedAtOnce(const QString &task, const QString &lost, bool leftCommandMode)
{
    // The first line is the reason (the user's own interrupt); what follows says what was written.
    const QString written = lost.section(QLatin1Char('\n'), 1).trimmed();
    QString text = task + QStringLiteral(" ended at once (Ctrl+C twice).");
    if (!written.isEmpty())
        text += QLatin1Char('\n') + written;
    if (!m_reached)
        text += QStringLiteral("\nNothing was written.");
    else if (leftCommandMode)
        text += QStringLiteral("\nThe instrument was taken out of command mode.");
    else
        text += QStringLiteral("\nThe instrument is still in command mode, waiting for the rest of a block: switch "
                               "it off and on before the next command.");
    m_console.note(text);
    return kExitInterrupted;
}

int InstrumentSession::outcomeCode(const QString &task, transfer::Outcome outcome)
{
    switch (outcome) {
    case transfer::Outcome::Done: {
        // The operation has told which bytes went unacknowledged.
        const int missed = m_link.unacknowledgedBytes();
        if (missed == 0)
            return kExitDone;
        if (!readBackSettlesEchoes)
            return kExitIncomplete;
        m_console.note(QStringLiteral("The read-back confirmed the %1 byte%2 whose echo was missed: the instrument "
                                      "holds everything that was sent.")
                           .arg(missed)
                           .arg(missed == 1 ? QString() : QStringLiteral("s")));
        return kExitDone;
    }
    case transfer::Outcome::NotConnected:
        if (!m_interrupted)
            return notFound();
        m_console.note(task + QStringLiteral(" interrupted: nothing was written."));
        return kExitIncomplete;
    case transfer::Outcome::Cancelled:
        if (m_interrupted)
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

int InstrumentSession::run(const QString &task, const Operation &operation, const Closing &closing)
{
    recordEntry();
    m_view.setTask(task);
    m_reached = false; // the instrument was in command mode at some point
    m_interrupted = false;
    InstrumentContext *context = nullptr;
    m_record = OperationRecord::from(state);
    InstrumentContext ctx{m_record, m_noted, m_link, m_view, [this, &context] {
                              connectToInstrument(m_record, m_noted, m_link, m_view);
                              m_reached = m_reached || m_record.link.connected;
                              // Interrupted while connecting: nothing was written, and nothing will be.
                              if (m_record.link.connected && m_link.cancelRequested())
                                  transfer::leaveCommandMode(*context, proto::kSoftReset);
                          }};
    context = &ctx;
    transfer::Outcome outcome = transfer::Outcome::NotConnected;
    bool stopped = false;
    bool leftCommandMode = false;
    QString lost;
    if (m_host.onOperation)
        m_host.onOperation(&m_link);
    const bool ran = runInstrumentOperation(m_link, m_record, m_noted, m_view, [&] {
        try {
            outcome = operation(ctx);
            m_record.outcome = outcome;
        } catch (const LinkLost &e) {
            if (!m_link.stopRequested())
                throw;
            stopped = true;
            lost = QString::fromStdString(e.what());
            m_record.lostReason = lost;
            m_link.clearStop();
            leftCommandMode = closeEarly(ctx, closing);
        }
        m_interrupted = m_link.cancelRequested() || stopped;
    });
    apply(m_record);
    m_ended = m_record;
    if (m_host.onOperation)
        m_host.onOperation(nullptr);
    m_view.hideProgress();
    m_view.hideConnecting();

    if (stopped)
        return endedAtOnce(task, lost, leftCommandMode);
    if (!ran)
        return m_reached ? kExitIncomplete : notFound();
    if (m_prompts.unanswered())
        return kExitRefused;
    return outcomeCode(task, outcome);
}

} // namespace cli
