#include "ui/ConnectingWindow.h"

#include <QLabel>
#include <QVBoxLayout>

ConnectingWindow::ConnectingWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmShowConnecting"));
    setWindowTitle(QStringLiteral("Connection to Corvane"));
    m_captionLabel = new QLabel(this);
    m_captionLabel->setObjectName(QStringLiteral("lblShowConnecting"));
    m_captionLabel->setAccessibleName(QStringLiteral("Connection progress"));
    // Up to 25 dots are appended to the caption: let it wrap instead of widening the window.
    m_captionLabel->setWordWrap(true);
    m_captionLabel->setMinimumWidth(360);
    m_captionLabel->setMinimumHeight(m_captionLabel->fontMetrics().lineSpacing() * 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_captionLabel);
}

void ConnectingWindow::setCaption(const QString &text)
{
    m_captionLabel->setText(text);
}

QString ConnectingWindow::caption() const
{
    return m_captionLabel->text();
}
