// The NMEA data monitor: polls one NMEA channel of the instrument and shows the text it receives.
#pragma once

#include "link/NmeaMonitor.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTimer;
class QPushButton;
struct InstrumentContext;

class frmNmeaData : public QWidget, private NmeaMonitorObserver
{
    Q_OBJECT
public:
    explicit frmNmeaData(QWidget *parent = nullptr);

    static constexpr int kMaxCharacters = 200;

    QPlainTextEdit *txtNmeaData;
    QPushButton *cmdNmeaDataFreeze;
    QPushButton *cmdNmeaDataResume;
    QPushButton *cmdNmeaDataCancel;

    // Runs the monitor for state.NmeaChannel until it is stopped. Returns at once
    // when a monitor already runs (one monitor at a time).
    void run(InstrumentContext &ctx);
    bool isMonitoring() const { return m_ctx != nullptr; }
    // Ends the monitor (if any) and hides the window.
    void stop();
    // For the editor closing: ends the monitor and sends its closing bytes at once,
    // while the port is still open (the monitor's loop then sends nothing more).
    void stopAndRelease();
    // The text received, as kept (at most 200 characters).
    QString text() const { return m_text; }
    void appendReceived(char c);
    // The line under the text: why nothing arrives, or why monitoring stopped.
    QString status() const;
    // Brings the text box up to date at once (it otherwise follows about 30 times a second).
    void flushText();

public slots:
    void cmdNmeaDataFreeze_Click();
    void cmdNmeaDataResume_Click();
    void cmdNmeaDataCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void received(char c) override;
    void statusChanged(const QString &status) override;
    void setStatus(const QString &text);

    InstrumentContext *m_ctx = nullptr;
    NmeaMonitor *m_monitor = nullptr; // while run() runs
    QString m_text;
    QString m_pending; // received, not yet in the text box
    QLabel *m_status;
    QTimer *m_refresh;
};
