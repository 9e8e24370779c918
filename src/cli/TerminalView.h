// What the editor shows in windows during an operation, as lines on a terminal:
// the connection attempt, the connection label, the serial number and a progress bar.
#pragma once

#include "link/InstrumentView.h"

class Console;

class TerminalView : public InstrumentView
{
public:
    // `portName`: the port as the user named it, shown in the connection attempt.
    TerminalView(Console &console, const QString &portName) : m_console(console), m_portName(portName) {}

    // The operation's name, shown before the progress bar ("Upload").
    void setTask(const QString &task) { m_task = task; }
    // The serial number the connection read, once it has.
    QString serialNumber() const { return m_serialNumber; }

    void setConnectedLabel(const QString &text) override;
    void setSerialNumberLabel(const QString &text) override;
    void showConnecting() override;
    void hideConnecting() override;
    void setConnectingCaption(const QString &text) override;
    QString connectingCaption() const override { return m_caption; }
    void showProgress() override;
    void hideProgress() override;
    void setProgress(int value) override;
    void setProgressMaximum(int maximum) override;

    // "Upload  [##########..........]   9/17", at most `width` characters: the bar is
    // narrowed to fit, and left out when it would be too short to read.
    static QString bar(const QString &task, int value, int maximum, int width = 79);

private:
    void drawProgress();
    QString attemptLine() const;

    Console &m_console;
    QString m_portName;
    QString m_task;
    QString m_caption;
    QString m_serialNumber;
    QString m_connected;
    bool m_connecting = false;
    bool m_progressShown = false;
    int m_value = 0;
    int m_maximum = 17;
};
