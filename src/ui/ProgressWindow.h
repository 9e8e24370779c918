// The progress window of transfers with the instrument.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class ProgressWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultMaximum = 17;

    explicit ProgressWindow(QWidget *parent = nullptr);

    // Values are held to the bar's range (a progress bar ignores others).
    void setProgress(int value);
    void setProgressMaximum(int maximum);

    // Called by the Cancel button, which stops the running transfer at its next safe
    // point (between whole blocks).
    std::function<void()> onCancel;

private:
    QProgressBar *m_progressBar;
    QLabel *m_progressLabel;
    QPushButton *m_cancelButton;
};
