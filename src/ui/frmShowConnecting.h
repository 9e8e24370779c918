// The small window that shows the connection attempts.
#pragma once

#include <QWidget>

class QLabel;

class frmShowConnecting : public QWidget
{
    Q_OBJECT
public:
    explicit frmShowConnecting(QWidget *parent = nullptr);

    QLabel *lblShowConnecting;
};
