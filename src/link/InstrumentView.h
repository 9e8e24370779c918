// What instrument procedures show in windows, as a seam: MainWindow implements it, tests record it.
#pragma once

#include <QString>

class InstrumentView
{
public:
    virtual ~InstrumentView() = default;

    // Port chooser PortChooser.
    virtual void showPortChooser() {}
    virtual void hidePortChooser() {}
    // Whether the chooser is still on screen: a wait for a port choice ends when it is not.
    virtual bool portChooserOpen() const { return false; }
    virtual void selectPortOption(int /*portNumber*/) {}
    // Main window labels.
    virtual void setCommsPortLabel(const QString & /*text*/) {}    // lblCommsPort
    virtual void setConnectedLabel(const QString & /*text*/) {}    // lblConnected
    virtual void setSerialNumberLabel(const QString & /*text*/) {} // lblTessaroSN
    // ConnectingWindow.
    virtual void showConnecting() {}
    virtual void hideConnecting() {}
    virtual void setConnectingCaption(const QString & /*text*/) {}
    virtual QString connectingCaption() const { return QString(); }
    // ProgressWindow.
    virtual void showProgress() {}
    virtual void hideProgress() {}
    virtual void setProgress(int /*value*/) {}
    virtual void setProgressMaximum(int /*maximum*/) {}
    // Identity boxes of the About and factory windows (from the state's texts).
    virtual void showIdentity() {}
    virtual void showUnitVersions() {}
    virtual void showProductCode(int /*code*/) {}
    virtual void showNewConfigCount(int /*count*/) {}
};
