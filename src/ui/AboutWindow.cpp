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

    lblMnuAbout = new QLabel(QStringLiteral("Halvane Corvane Configuration Editor. "
                                            "Configures Corvane marine engine and navigation displays."),
                             this);
    lblMnuAbout->setObjectName(QStringLiteral("lblMnuAbout"));
    lblMnuAbout->setWordWrap(true);
    QFont bold = lblMnuAbout->font();
    bold.setBold(true);
    lblMnuAbout->setFont(bold);

    txtPcSoftwareVer = field(this, "txtPcSoftwareVer", QStringLiteral("PC Software Ver."));
    txtTessaroSN = field(this, "txtTessaroSN", QStringLiteral("Corvane:  SN#"));
    txtTessaroSwVer = field(this, "txtTessaroSwVer", QStringLiteral("Corvane:  Sw_Ver."));
    txtTessaroHwVer = field(this, "txtTessaroHwVer", QStringLiteral("Corvane:  Hw_Ver."));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("PC Software Ver."), txtPcSoftwareVer);
    form->addRow(QStringLiteral("Corvane:  SN#"), txtTessaroSN);
    form->addRow(QStringLiteral("Corvane:  Sw_Ver."), txtTessaroSwVer);
    form->addRow(QStringLiteral("Corvane:  Hw_Ver."), txtTessaroHwVer);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblMnuAbout);
    layout->addLayout(form);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::loadForm()
{
    txtPcSoftwareVer->setText(m_state.VersionText);
    txtTessaroSN->setText(m_state.SerialNumberText);
    txtTessaroSwVer->setText(m_state.SoftwareVersionText);
    txtTessaroHwVer->setText(m_state.HardwareVersionText);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    loadForm();
    QWidget::showEvent(event);
}
