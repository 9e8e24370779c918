#include "ui/ConnectingWindow.h"

#include <QLabel>
#include <QVBoxLayout>

ConnectingWindow::ConnectingWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmShowConnecting"));
    setWindowTitle(QStringLiteral("Connection to Corvane"));
    lblShowConnecting = new QLabel(this);
    lblShowConnecting->setObjectName(QStringLiteral("lblShowConnecting"));
    lblShowConnecting->setAccessibleName(QStringLiteral("Connection progress"));
    // Up to 25 dots are appended to the caption: let it wrap instead of widening the window.
    lblShowConnecting->setWordWrap(true);
    lblShowConnecting->setMinimumWidth(360);
    lblShowConnecting->setMinimumHeight(lblShowConnecting->fontMetrics().lineSpacing() * 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblShowConnecting);
}
