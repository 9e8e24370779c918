// The link's own windows (port chooser, connecting, progress) behind the InstrumentView seam.
#pragma once

#include <functional>

#include "link/InstrumentView.h"

#include <QPointer>

class QWidget;
class Clock;
class PortResolver;
class PortChooser;
class ProgressWindow;
class ConnectingWindow;
struct EditorState;

// Creates PortChooser, ConnectingWindow and ProgressWindow hidden on first use, as
// top-level windows owned by `owner` (destroyed with it). Main-window effects
// (labels, identity boxes) go to `mainView` when set, so the main window either
// derives from this class and overrides them, or owns one and passes itself.
class LinkWindows : public InstrumentView
{
public:
    // Cancel in the progress window.
    std::function<void()> onCancel;
    LinkWindows(EditorState &state, QWidget *owner, const PortResolver *resolver = nullptr, Clock *clock = nullptr);

    void setMainView(InstrumentView *mainView) { m_main = mainView; }

    PortChooser *comms();
    ConnectingWindow *connecting();
    ProgressWindow *progress();

    void showPortChooser() override;
    void hidePortChooser() override;
    bool portChooserOpen() const override;
    void selectPortOption(int portNumber) override;
    void showConnecting() override;
    void hideConnecting() override;
    void setConnectingCaption(const QString &text) override;
    QString connectingCaption() const override;
    void showProgress() override;
    void hideProgress() override;
    // Values are held to the bar's range (a progress bar ignores others).
    void setProgress(int value) override;
    void setProgressMaximum(int maximum) override;

    void setCommsPortLabel(const QString &text) override;
    void setConnectedLabel(const QString &text) override;
    void setSerialNumberLabel(const QString &text) override;
    void showIdentity() override;
    void showUnitVersions() override;
    void showProductCode(int code) override;
    void showNewConfigCount(int count) override;

private:
    EditorState &m_state;
    QWidget *m_owner;
    const PortResolver *m_resolver;
    Clock *m_clock;
    InstrumentView *m_main = nullptr;
    QPointer<PortChooser> m_comms;
    QPointer<ConnectingWindow> m_connecting;
    QPointer<ProgressWindow> m_progress;
};
