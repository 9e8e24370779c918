#include "ui/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Connected to Corvane "));
    lblProgress = new QLabel(QStringLiteral("Progress"), this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setAccessibleName(lblProgress->text());
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, kDefaultMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setMinimumWidth(300);
    lblProgress->setBuddy(ProgressBar1);
    cmdProgressCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdProgressCancel->setObjectName(QStringLiteral("cmdProgressCancel"));
    cmdProgressCancel->setAccessibleName(cmdProgressCancel->text());
    connect(cmdProgressCancel, &QPushButton::clicked, this, [this] {
        if (onCancel)
            onCancel();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblProgress);
    layout->addWidget(ProgressBar1);
    layout->addWidget(cmdProgressCancel, 0, Qt::AlignRight);
}
