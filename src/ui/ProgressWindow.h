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

    QProgressBar *ProgressBar1;
    QLabel *lblProgress;
    // Stops the running transfer at its next safe point (between whole blocks).
    QPushButton *cmdProgressCancel;
    std::function<void()> onCancel;
};
