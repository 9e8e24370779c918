// An InstrumentView that records every report, for asserting what an instrument procedure showed.
#pragma once

#include "link/InstrumentView.h"

#include <QStringList>
#include <functional>

class RecordingView : public InstrumentView
{
public:
    // Every call in order, as "name" or "name:argument".
    QStringList calls;

    // The state the windows would be in.
    bool chooserVisible = false;
    int selectedPortOption = -1;
    QString commsPortLabel, connectedLabel, serialNumberLabel, caption;
    bool connectingVisible = false;
    bool progressVisible = false;
    int progress = 0;
    int progressMaximum = 17;
    int productCode = -1;
    int newConfigCount = -1;

    // Run when the port chooser is asked for (a test plays the user here, with answerPort()).
    std::function<void()> onShowPortChooser;
    // Answers the open port question as Accept (a port, 0 for "None") or the close box (0) would.
    void answerPort(int port);

    int count(const QString &call) const { return int(calls.count(call)); }
    bool called(const QString &name) const;

    void askPort(int current, std::function<void(int)> answer) override;
    void dismissPortQuestion() override
    {
        record("dismissPortQuestion");
        chooserVisible = false;
        m_portAnswer = nullptr;
    }
    void portChanged(int n) override;
    void linkStatusChanged(LinkStatus status) override
    {
        connectedLabel = linkStatusText(status);
        record("linkStatus", connectedLabel);
    }
    void identified(const InstrumentIdentity &identity) override;
    void versionsRead(const InstrumentIdentity & /*identity*/) override { record("versionsRead"); }
    void productCodeRead(int c) override
    {
        record("productCode", QString::number(c));
        productCode = c;
    }
    void newConfigCountRead(int c) override
    {
        record("newConfigCount", QString::number(c));
        newConfigCount = c;
    }
    void showConnecting() override
    {
        record("showConnecting");
        connectingVisible = true;
    }
    void hideConnecting() override
    {
        record("hideConnecting");
        connectingVisible = false;
    }
    void setConnectingCaption(const QString &t) override
    {
        record("setConnectingCaption", t);
        caption = t;
    }
    void showProgress() override
    {
        record("showProgress");
        progressVisible = true;
    }
    void hideProgress() override
    {
        record("hideProgress");
        progressVisible = false;
    }
    void setProgress(int v) override
    {
        record("setProgress", QString::number(v));
        progress = v;
    }
    void setProgressMaximum(int m) override
    {
        record("setProgressMaximum", QString::number(m));
        progressMaximum = m;
    }

private:
    void record(const char *name, const QString &arg = QString());

    std::function<void(int)> m_portAnswer;
};
