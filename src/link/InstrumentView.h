// What an instrument operation reports as it goes, and the port question it asks: the
// windows implement it (and decide how to show each report), the command line and the
// tests too. An operation calls it on its own thread; the runner hands the calls to
// the windows' thread in order, without waiting for them.
#pragma once

#include <QString>
#include <functional>

struct InstrumentIdentity;

// Where the editor's link to the instrument stands.
enum class LinkStatus {
    Claiming,           // the editor is taking the instrument over
    Connected,          // in command mode
    NotConnected,       // released, or the link was lost
    NotConnectedTessaro // released after a copy or a factory command (the family's older wording)
};
// The connection label's text for a status ("Connected to Corvane").
QString linkStatusText(LinkStatus status);

class InstrumentView
{
public:
    virtual ~InstrumentView() = default;

    // The port chooser as a question: shown with the port now chosen; `answer` is
    // called once, on the thread that shows it, with the port accepted (0 for "None"
    // or a chooser closed without a choice).
    virtual void askPort(int /*current*/, std::function<void(int)> answer) { answer(0); }
    // The operation no longer waits for the port (Cancel, the editor closing).
    virtual void dismissPortQuestion() {}

    // --- reports ---------------------------------------------------------------------------
    // The error prompt of the port opening took another port number.
    virtual void portChanged(int /*portNumber*/) {}
    virtual void linkStatusChanged(LinkStatus /*status*/) {}
    // The identification read the serial number and versions.
    virtual void identified(const InstrumentIdentity & /*identity*/) {}
    // The versions of the instrument's units were read.
    virtual void versionsRead(const InstrumentIdentity & /*identity*/) {}
    virtual void productCodeRead(int /*code*/) {}
    virtual void newConfigCountRead(int /*count*/) {}

    // --- progress: the connecting window and the progress bar --------------------------------
    virtual void showConnecting() {}
    virtual void hideConnecting() {}
    virtual void setConnectingCaption(const QString & /*text*/) {}
    virtual void showProgress() {}
    virtual void hideProgress() {}
    virtual void setProgress(int /*value*/) {}
    virtual void setProgressMaximum(int /*maximum*/) {}
};
