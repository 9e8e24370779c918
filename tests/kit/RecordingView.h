// An InstrumentView that records every call, for asserting what an instrument procedure showed.
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

    // Run when the port chooser is shown (a test plays the user here).
    std::function<void()> onShowPortChooser;

    int count(const QString &call) const { return int(calls.count(call)); }
    bool called(const QString &name) const;

    void showPortChooser() override;
    void hidePortChooser() override
    {
        record("hidePortChooser");
        chooserVisible = false;
    }
    bool portChooserOpen() const override { return chooserVisible; }
    void selectPortOption(int n) override
    {
        record("selectPortOption", QString::number(n));
        selectedPortOption = n;
    }
    void setCommsPortLabel(const QString &t) override
    {
        record("setCommsPortLabel", t);
        commsPortLabel = t;
    }
    void setConnectedLabel(const QString &t) override
    {
        record("setConnectedLabel", t);
        connectedLabel = t;
    }
    void setSerialNumberLabel(const QString &t) override
    {
        record("setSerialNumberLabel", t);
        serialNumberLabel = t;
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
    QString connectingCaption() const override { return caption; }
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
    void showIdentity() override { record("showIdentity"); }
    void showUnitVersions() override { record("showUnitVersions"); }
    void showProductCode(int c) override
    {
        record("showProductCode", QString::number(c));
        productCode = c;
    }
    void showNewConfigCount(int c) override
    {
        record("showNewConfigCount", QString::number(c));
        newConfigCount = c;
    }

private:
    void record(const char *name, const QString &arg = QString());
};
