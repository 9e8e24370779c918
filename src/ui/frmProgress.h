// The progress window of transfers with the instrument.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

class frmProgress : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultMaximum = 17;

    explicit frmProgress(QWidget *parent = nullptr);

    QProgressBar *ProgressBar1;
    QLabel *lblProgress;
};
