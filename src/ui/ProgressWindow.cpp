#include "ui/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Connected to Corvane "));
    m_progressLabel = new QLabel(QStringLiteral("Progress"), this);
    m_progressLabel->setObjectName(QStringLiteral("lblProgress"));
    m_progressLabel->setAccessibleName(m_progressLabel->text());
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setAccessibleName(QStringLiteral("Progress"));
    m_progressBar->setRange(0, kDefaultMaximum);
    m_progressBar->setValue(0);
    m_progressBar->setMinimumWidth(300);
    m_progressLabel->setBuddy(m_progressBar);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdProgressCancel"));
    m_cancelButton->setAccessibleName(m_cancelButton->text());
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (onCancel)
            onCancel();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_progressLabel);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_cancelButton, 0, Qt::AlignRight);
}

void ProgressWindow::setProgress(int value)
{
    m_progressBar->setValue(qBound(m_progressBar->minimum(), value, m_progressBar->maximum()));
}

void ProgressWindow::setProgressMaximum(int maximum)
{
    m_progressBar->setMaximum(maximum);
}
