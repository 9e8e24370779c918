// The small window that shows the connection attempts.
#pragma once

#include <QWidget>

class QLabel;

class ConnectingWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectingWindow(QWidget *parent = nullptr);

    // The text that follows the connection attempts.
    void setCaption(const QString &text);
    QString caption() const;

private:
    QLabel *m_captionLabel;
};
