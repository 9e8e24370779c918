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

    m_promptLabel = new QLabel(QStringLiteral("Please select a COM port"), this);
    m_promptLabel->setObjectName(QStringLiteral("lblComms"));
    m_promptLabel->setAccessibleName(m_promptLabel->text());

    m_group = new QButtonGroup(this);
    auto *grid = new QGridLayout;
    for (int n = 0; n <= kPorts; ++n) {
        const QString caption = n == 0 ? QStringLiteral("None") : QStringLiteral("COM%1").arg(n);
        m_options[n] = new QRadioButton(caption, this);
        m_options[n]->setObjectName(QStringLiteral("optComm_%1").arg(n));
        m_options[n]->setProperty("index", n);
        m_options[n]->setAccessibleName(caption);
        m_group->addButton(m_options[n], n);

        m_deviceLabels[n] = new QLabel(this);
        m_deviceLabels[n]->setObjectName(QStringLiteral("lblDevice_%1").arg(n));
        m_deviceLabels[n]->setAccessibleName(QStringLiteral("Device of %1").arg(caption));
        m_deviceLabels[n]->setEnabled(false); // shown greyed: it describes, it is not a choice
        m_deviceLabels[n]->setTextInteractionFlags(Qt::NoTextInteraction);

        const int row = n == 0 ? 0 : 1 + (n - 1) % kRowsPerColumn;
        const int column = n == 0 ? 0 : 2 * ((n - 1) / kRowsPerColumn);
        grid->addWidget(m_options[n], row, column);
        grid->addWidget(m_deviceLabels[n], row, column + 1);
    }
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(3, 110);
    grid->setHorizontalSpacing(12);

    m_acceptButton = new QPushButton(QStringLiteral("Accept"), this);
    m_acceptButton->setObjectName(QStringLiteral("cmdCommsAccept"));
    m_acceptButton->setAccessibleName(m_acceptButton->text());
    m_acceptButton->setDefault(true);
    connect(m_acceptButton, &QPushButton::clicked, this, &PortChooser::onCommsAcceptClicked);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_promptLabel);
    layout->addLayout(grid);
    layout->addWidget(m_acceptButton, 0, Qt::AlignRight);

    showStoredPort();
}

void PortChooser::showStoredPort()
{
    selectPort(m_state.link.portNumber);
}

void PortChooser::selectPort(int n)
{
    if (n >= 0 && n <= kPorts) {
        m_options[n]->setChecked(true);
        return;
    }
    // A port typed into the error prompt beyond COM16 has no option.
    m_group->setExclusive(false);
    for (QRadioButton *option : m_options)
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
        m_deviceLabels[n]->setText(device.isEmpty() ? QStringLiteral("(no device)") : device);
        m_options[n]->setAccessibleDescription(device);
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
        m_state.link.portNumber = quint8(chosen);
    hide();
    emit commsPortLabelChanged(QStringLiteral("COM Port = ") + numtext::signedText(qint64(m_state.link.portNumber)));
    m_state.link.connected = false;
    emit portAccepted(m_state.link.portNumber);
}
