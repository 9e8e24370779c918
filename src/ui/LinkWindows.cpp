#include "ui/LinkWindows.h"

#include "link/Clock.h"
#include "ui/ConnectingWindow.h"
#include "ui/PortChooser.h"
#include "ui/ProgressWindow.h"

LinkWindows::LinkWindows(EditorState &state, QWidget *owner, const PortResolver *resolver, Clock *clock)
    : m_state(state), m_owner(owner), m_resolver(resolver), m_clock(clock)
{
}

PortChooser *LinkWindows::comms()
{
    if (!m_comms) {
        m_comms = new PortChooser(m_state, m_owner);
        m_comms->setResolver(m_resolver);
        QObject::connect(m_comms, &PortChooser::commsPortLabelChanged, m_comms,
                         [this](const QString &text) { setCommsPortLabel(text); });
        // A procedure waiting for the choice looks at it at once.
        const auto wake = [this] {
            if (m_clock)
                m_clock->wake();
        };
        QObject::connect(m_comms, &PortChooser::portAccepted, m_comms, wake);
        QObject::connect(m_comms, &PortChooser::hidden, m_comms, wake);
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

void LinkWindows::hidePortChooser()
{
    if (m_comms)
        m_comms->hide();
}

bool LinkWindows::portChooserOpen() const
{
    return m_comms && m_comms->isVisible();
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

void LinkWindows::setCommsPortLabel(const QString &text)
{
    if (m_main)
        m_main->setCommsPortLabel(text);
}

void LinkWindows::setConnectedLabel(const QString &text)
{
    if (m_main)
        m_main->setConnectedLabel(text);
}

void LinkWindows::setSerialNumberLabel(const QString &text)
{
    if (m_main)
        m_main->setSerialNumberLabel(text);
}

void LinkWindows::showIdentity()
{
    if (m_main)
        m_main->showIdentity();
}

void LinkWindows::showUnitVersions()
{
    if (m_main)
        m_main->showUnitVersions();
}

void LinkWindows::showProductCode(int code)
{
    if (m_main)
        m_main->showProductCode(code);
}

void LinkWindows::showNewConfigCount(int count)
{
    if (m_main)
        m_main->showNewConfigCount(count);
}
