#include "ui/LinkWindows.h"

#include "ui/ConnectingWindow.h"
#include "ui/PortChooser.h"
#include "ui/ProgressWindow.h"

#include <utility>

LinkWindows::LinkWindows(EditorState &state, QWidget *owner, const PortResolver *resolver)
    : m_state(state), m_owner(owner), m_resolver(resolver)
{
}

PortChooser *LinkWindows::comms()
{
    if (!m_comms) {
        m_comms = new PortChooser(m_state, m_owner);
        m_comms->setResolver(m_resolver);
        QObject::connect(m_comms, &PortChooser::portAccepted, m_comms, [this](int port) {
            if (m_main)
                m_main->portChanged(port);
            if (const auto answer = std::exchange(m_portAnswer, nullptr))
                answer(port);
        });
        // Closed without Accept: no port was chosen.
        QObject::connect(m_comms, &PortChooser::hidden, m_comms, [this] {
            if (const auto answer = std::exchange(m_portAnswer, nullptr))
                answer(0);
        });
    }
    return m_comms;
}

ConnectingWindow *LinkWindows::connecting()
{
    if (!m_connecting)
        m_connecting = new ConnectingWindow(m_owner);
    return m_connecting;
}

ProgressWindow *LinkWindows::progress()
{
    if (!m_progress) {
        m_progress = new ProgressWindow(m_owner);
        m_progress->onCancel = [this] {
            if (onCancel)
                onCancel();
        };
    }
    return m_progress;
}

void LinkWindows::showPortChooser()
{
    PortChooser *w = comms();
    w->show();
    w->raise();
    w->activateWindow();
}

void LinkWindows::askPort(int current, std::function<void(int)> answer)
{
    m_portAnswer = std::move(answer);
    selectPortOption(current);
    showPortChooser();
}

void LinkWindows::dismissPortQuestion()
{
    m_portAnswer = nullptr;
    if (m_comms)
        m_comms->hide();
}

void LinkWindows::selectPortOption(int portNumber)
{
    comms()->selectPort(portNumber);
}

void LinkWindows::showConnecting()
{
    connecting()->show();
    connecting()->raise();
}

void LinkWindows::hideConnecting()
{
    if (m_connecting)
        m_connecting->hide();
}

void LinkWindows::setConnectingCaption(const QString &text)
{
    connecting()->setCaption(text);
}

QString LinkWindows::connectingCaption() const
{
    return m_connecting ? m_connecting->caption() : QString();
}

void LinkWindows::showProgress()
{
    progress()->show();
    progress()->raise();
}

void LinkWindows::hideProgress()
{
    if (m_progress)
        m_progress->hide();
}

void LinkWindows::setProgress(int value)
{
    progress()->setProgress(value);
}

void LinkWindows::setProgressMaximum(int maximum)
{
    progress()->setProgressMaximum(maximum);
}

void LinkWindows::portChanged(int portNumber)
{
    selectPortOption(portNumber);
    if (m_main)
        m_main->portChanged(portNumber);
}

void LinkWindows::linkStatusChanged(LinkStatus status)
{
    if (m_main)
        m_main->linkStatusChanged(status);
}

void LinkWindows::identified(const InstrumentIdentity &identity)
{
    if (m_main)
        m_main->identified(identity);
}

void LinkWindows::versionsRead(const InstrumentIdentity &identity)
{
    if (m_main)
        m_main->versionsRead(identity);
}

void LinkWindows::productCodeRead(int code)
{
    if (m_main)
        m_main->productCodeRead(code);
}

void LinkWindows::newConfigCountRead(int count)
{
    if (m_main)
        m_main->newConfigCountRead(count);
}
