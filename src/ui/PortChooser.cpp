#include "ui/PortChooser.h"

#include "core/EditorState.h"
#include "core/NumberText.h"
#include "link/PortResolver.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
// Options COM1..COM8 in the left column, COM9..COM16 in the right one.
constexpr int kRowsPerColumn = 8;
} // namespace

PortChooser::PortChooser(EditorState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("frmComms"));
    setWindowTitle(QStringLiteral("Corvane Communication Port"));

    lblComms = new QLabel(QStringLiteral("Please select a COM port"), this);
    lblComms->setObjectName(QStringLiteral("lblComms"));
    lblComms->setAccessibleName(lblComms->text());

    m_group = new QButtonGroup(this);
    auto *grid = new QGridLayout;
    for (int n = 0; n <= kPorts; ++n) {
        const QString caption = n == 0 ? QStringLiteral("None") : QStringLiteral("COM%1").arg(n);
        optComm[n] = new QRadioButton(caption, this);
        optComm[n]->setObjectName(QStringLiteral("optComm_%1").arg(n));
        optComm[n]->setProperty("index", n);
        optComm[n]->setAccessibleName(caption);
        m_group->addButton(optComm[n], n);

        lblDevice[n] = new QLabel(this);
        lblDevice[n]->setObjectName(QStringLiteral("lblDevice_%1").arg(n));
        lblDevice[n]->setAccessibleName(QStringLiteral("Device of %1").arg(caption));
        lblDevice[n]->setEnabled(false); // shown greyed: it describes, it is not a choice
        lblDevice[n]->setTextInteractionFlags(Qt::NoTextInteraction);

        const int row = n == 0 ? 0 : 1 + (n - 1) % kRowsPerColumn;
        const int column = n == 0 ? 0 : 2 * ((n - 1) / kRowsPerColumn);
        grid->addWidget(optComm[n], row, column);
        grid->addWidget(lblDevice[n], row, column + 1);
    }
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(3, 110);
    grid->setHorizontalSpacing(12);

    cmdCommsAccept = new QPushButton(QStringLiteral("Accept"), this);
    cmdCommsAccept->setObjectName(QStringLiteral("cmdCommsAccept"));
    cmdCommsAccept->setAccessibleName(cmdCommsAccept->text());
    cmdCommsAccept->setDefault(true);
    connect(cmdCommsAccept, &QPushButton::clicked, this, &PortChooser::onCommsAcceptClicked);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblComms);
    layout->addLayout(grid);
    layout->addWidget(cmdCommsAccept, 0, Qt::AlignRight);

    loadForm();
}

void PortChooser::loadForm()
{
    selectPort(m_state.ComPortNumber);
}

void PortChooser::selectPort(int n)
{
    if (n >= 0 && n <= kPorts) {
        optComm[n]->setChecked(true);
        return;
    }
    // A port typed into the error prompt beyond COM16 has no option.
    m_group->setExclusive(false);
    for (QRadioButton *option : optComm)
        option->setChecked(false);
    m_group->setExclusive(true);
}

int PortChooser::selectedPort() const
{
    return m_group->checkedId();
}

void PortChooser::setDevices(const QStringList &devices)
{
    for (int n = 1; n <= kPorts; ++n) {
        const QString device = devices.value(n);
        lblDevice[n]->setText(device.isEmpty() ? QStringLiteral("(no device)") : device);
        optComm[n]->setAccessibleDescription(device);
    }
}

void PortChooser::showEvent(QShowEvent *event)
{
    if (m_resolver)
        setDevices(m_resolver->chooserDevices());
    QWidget::showEvent(event);
}

void PortChooser::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

void PortChooser::onCommsAcceptClicked()
{
    const int chosen = selectedPort();
    // With no option selected (a port beyond COM16) the number stays as it is.
    if (chosen >= 0)
        m_state.ComPortNumber = quint8(chosen);
    hide();
    emit commsPortLabelChanged(QStringLiteral("COM Port = ") + numtext::signedText(qint64(m_state.ComPortNumber)));
    m_state.Connected = false;
    emit portAccepted(m_state.ComPortNumber);
}
