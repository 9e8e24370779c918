#include "ui/AboutWindow.h"

#include "core/EditorState.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{
QLineEdit *field(QWidget *parent, const char *name, const QString &label)
{
    auto *edit = new QLineEdit(QStringLiteral("Unknown"), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setAccessibleName(label);
    edit->setMinimumWidth(180);
    return edit;
}
} // namespace

AboutWindow::AboutWindow(EditorState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Halvane Corvane Configuration Editor"));

    m_descriptionLabel = new QLabel(QStringLiteral("Halvane Corvane Configuration Editor. "
                                                   "Configures Corvane marine engine and navigation displays."),
                                    this);
    m_descriptionLabel->setObjectName(QStringLiteral("lblMnuAbout"));
    m_descriptionLabel->setWordWrap(true);
    QFont bold = m_descriptionLabel->font();
    bold.setBold(true);
    m_descriptionLabel->setFont(bold);

    m_programVersionBox = field(this, "txtPcSoftwareVer", QStringLiteral("PC Software Ver."));
    m_serialNumberBox = field(this, "txtTessaroSN", QStringLiteral("Corvane:  SN#"));
    m_softwareVersionBox = field(this, "txtTessaroSwVer", QStringLiteral("Corvane:  Sw_Ver."));
    m_hardwareVersionBox = field(this, "txtTessaroHwVer", QStringLiteral("Corvane:  Hw_Ver."));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("PC Software Ver."), m_programVersionBox);
    form->addRow(QStringLiteral("Corvane:  SN#"), m_serialNumberBox);
    form->addRow(QStringLiteral("Corvane:  Sw_Ver."), m_softwareVersionBox);
    form->addRow(QStringLiteral("Corvane:  Hw_Ver."), m_hardwareVersionBox);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_descriptionLabel);
    layout->addLayout(form);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::showIdentity()
{
    m_programVersionBox->setText(m_state.session.versionText);
    m_serialNumberBox->setText(m_state.instrument.serialNumber);
    m_softwareVersionBox->setText(m_state.instrument.softwareVersion);
    m_hardwareVersionBox->setText(m_state.instrument.hardwareVersion);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    showIdentity();
    QWidget::showEvent(event);
}
