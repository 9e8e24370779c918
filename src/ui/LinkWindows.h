// The link's own windows (port chooser, connecting, progress) behind the InstrumentView seam.
#pragma once

#include <functional>

#include "link/InstrumentView.h"

#include <QPointer>

class QWidget;
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
    LinkWindows(EditorState &state, QWidget *owner, const PortResolver *resolver = nullptr);

    void setMainView(InstrumentView *mainView) { m_main = mainView; }

    PortChooser *comms();
    ConnectingWindow *connecting();
    ProgressWindow *progress();

    // The chooser the user opens from the menu (nothing waits for it).
    void showPortChooser();
    void selectPortOption(int portNumber);
    // The chooser as an operation's question: Accept answers with the port, the close box with 0.
    void askPort(int current, std::function<void(int)> answer) override;
    void dismissPortQuestion() override;
    void showConnecting() override;
    void hideConnecting() override;
    void setConnectingCaption(const QString &text) override;
    QString connectingCaption() const;
    void showProgress() override;
    void hideProgress() override;
    // Values are held to the bar's range (a progress bar ignores others).
    void setProgress(int value) override;
    void setProgressMaximum(int maximum) override;

    void portChanged(int portNumber) override;
    void linkStatusChanged(LinkStatus status) override;
    void identified(const InstrumentIdentity &identity) override;
    void versionsRead(const InstrumentIdentity &identity) override;
    void productCodeRead(int code) override;
    void newConfigCountRead(int count) override;

private:
    EditorState &m_state;
    QWidget *m_owner;
    const PortResolver *m_resolver;
    InstrumentView *m_main = nullptr;
    QPointer<PortChooser> m_comms;
    std::function<void(int)> m_portAnswer; // the operation's open port question
    QPointer<ConnectingWindow> m_connecting;
    QPointer<ProgressWindow> m_progress;
};
