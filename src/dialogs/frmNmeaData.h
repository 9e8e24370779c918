// The NMEA data monitor: polls one NMEA channel of the instrument and shows the text it receives.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
struct InstrumentContext;

class frmNmeaData : public QWidget {
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
    // The text received, as kept (at most 200 characters).
    QString text() const { return m_text; }
    void appendReceived(char c);

public slots:
    void cmdNmeaDataFreeze_Click();
    void cmdNmeaDataResume_Click();
    void cmdNmeaDataCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    InstrumentContext *m_ctx = nullptr;
    bool m_stopRequested = false;
    QString m_text;
};
