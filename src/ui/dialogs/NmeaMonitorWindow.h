// The NMEA data monitor: polls one NMEA channel of the instrument and shows the text it receives.
#pragma once

#include "link/NmeaMonitor.h"

#include <QMutex>
#include <QWidget>
#include <functional>

class OperationRunner;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QPushButton;
struct InstrumentContext;

class NmeaMonitorWindow : public QWidget, private NmeaMonitorObserver
{
    Q_OBJECT
public:
    explicit NmeaMonitorWindow(QWidget *parent = nullptr);

    static constexpr int kMaxCharacters = 200;

    // Runs the monitor for state.nmea.channel here and now until it is stopped (the
    // caller holds the busy guard). Returns at once when a monitor already runs.
    void run(InstrumentContext &ctx);
    // Starts the monitor for `channel` as an operation of `runner`; false when it
    // could not start (another operation runs).
    bool start(OperationRunner &runner, int channel);
    bool isMonitoring() const { return m_monitoring; }
    // Ends the monitor (if any) at its next step, which takes the instrument out of
    // monitor mode, and hides the window.
    void stop();
    // The text received, as kept (at most 200 characters).
    QString text() const { return m_text; }
    void appendReceived(char c);
    // The line under the text: why nothing arrives, or why monitoring stopped.
    QString status() const;
    // Brings the text box up to date at once (it otherwise follows about 30 times a second).
    void flushText();
    // Shows the window, first placed by `place` when it was hidden (beside the NMEA
    // sentence selector, whose lists and buttons stay in view).
    void showPlaced();
    std::function<void()> place;

public slots:
    void onNmeaDataFreezeClicked();
    void onNmeaDataResumeClicked();
    void onNmeaDataCancelClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The observer's calls come from the thread that runs the monitor.
    void received(char c) override;
    void statusChanged(const QString &status) override;
    void takeIncoming();
    void setStatus(const QString &text);
    void begin(int channel);
    void monitor(InstrumentContext &ctx, int channel);
    void end();

    QPlainTextEdit *m_dataBox;
    QPushButton *m_pauseButton;
    QPushButton *m_resumeButton;
    QPushButton *m_cancelButton;
    NmeaMonitor m_monitor{*this};
    bool m_monitoring = false;
    // How the last run ended (written by the monitor's thread before end() runs).
    bool m_found = true;
    bool m_lost = false;
    QMutex m_incomingLock;
    QString m_incoming; // received on the monitor's thread, not yet taken in
    QTimer *m_intake;   // takes them in while the monitor runs
    QString m_text;
    QString m_pending; // received, not yet in the text box
    QLabel *m_status;
    QTimer *m_refresh;
};
