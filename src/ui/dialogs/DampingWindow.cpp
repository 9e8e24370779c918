#include "ui/dialogs/DampingWindow.h"

#include "core/DampingTable.h"
#include "core/EditorState.h"
#include "core/NumberText.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

using damping::kFunctions;
constexpr float kMaxDamping = 250.0f;

} // namespace

DampingWindow::DampingWindow(EditorState &state, Prompts &, QWidget *parent) : QWidget(parent), m_state(state)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmDamping"));
    setWindowTitle(QStringLiteral("View/Set Display Damping"));

    cboDamping = new QComboBox(this);
    cboDamping->setObjectName(QStringLiteral("cboDamping"));
    for (const damping::Function &f : damping::kTable)
        cboDamping->addItem(QLatin1String(f.name));
    cboDamping->setCurrentIndex(0);
    cboDamping->setAccessibleName(QStringLiteral("Display Function"));
    lblDampingFunction = new QLabel(QStringLiteral("Display Function"), this);
    lblDampingFunction->setObjectName(QStringLiteral("lblDampingFunction"));
    lblDampingFunction->setBuddy(cboDamping);

    txtDampingValue = new QLineEdit(this);
    txtDampingValue->setObjectName(QStringLiteral("txtDampingValue"));
    txtDampingValue->setAccessibleName(QStringLiteral("Damping Value"));
    txtDampingValue->setAlignment(Qt::AlignRight);
    txtDampingValue->setMaximumWidth(txtDampingValue->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    lblDampingValue = new QLabel(QStringLiteral("Damping     Value "), this);
    lblDampingValue->setObjectName(QStringLiteral("lblDampingValue"));
    // The caption keeps its designed blanks; shown as they are they would part "Value" from
    // "Damping", so the label shows it as rich text, which collapses them: "Damping Value".
    lblDampingValue->setTextFormat(Qt::RichText);
    lblDampingValue->setAccessibleName(lblDampingValue->text().simplified());
    lblDampingValue->setBuddy(txtDampingValue);

    cmdExitDamping = new QPushButton(QStringLiteral("Done"), this);
    cmdExitDamping->setObjectName(QStringLiteral("cmdExitDamping"));
    cmdExitDamping->setAccessibleName(QStringLiteral("Done"));

    auto *fields = new QGridLayout;
    fields->addWidget(lblDampingFunction, 0, 0);
    fields->addWidget(cboDamping, 1, 0);
    fields->addWidget(lblDampingValue, 0, 1);
    fields->addWidget(txtDampingValue, 1, 1, Qt::AlignLeft);
    fields->setHorizontalSpacing(16);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExitDamping);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cboDamping, &QComboBox::currentIndexChanged, this, &DampingWindow::onDampingClicked);
    connect(txtDampingValue, &QLineEdit::textChanged, this, &DampingWindow::onDampingValueChanged);
    connect(cmdExitDamping, &QPushButton::clicked, this, &DampingWindow::onExitDampingClicked);

    loadForm();
}

int DampingWindow::selectedByte() const
{
    const int i = cboDamping->currentIndex();
    return (i >= 0 && i < kFunctions) ? damping::kTable[i].byte : -1;
}

void DampingWindow::refresh(const QString &textWhenNoneSelected)
{
    const int byte = selectedByte();
    txtDampingValue->setText(byte < 0 ? textWhenNoneSelected : QString::number(m_state.SystemBlock[byte]));
}

void DampingWindow::loadForm()
{
    refresh(QStringLiteral("0"));
}
void DampingWindow::onActivated()
{
    refresh(QStringLiteral("0"));
}
void DampingWindow::onDampingClicked()
{
    refresh(QStringLiteral("0"));
}

void DampingWindow::open()
{
    refresh(QString());
    show();
    raise();
    activateWindow();
}

void DampingWindow::showStartUpValues()
{
    if (cboDamping->currentIndex() != 0)
        cboDamping->setCurrentIndex(0);
    txtDampingValue->setText(numtext::signedText(qint64(m_state.SystemBlock[damping::kTable[0].byte])));
}

void DampingWindow::onDampingValueChanged()
{
    float v = float(numtext::leadingNumber(txtDampingValue->text()));
    if (v < 0.0f)
        v = 0.0f;
    if (v > kMaxDamping)
        v = kMaxDamping;
    const auto b = quint8(numtext::roundHalfEven(v));
    const int byte = selectedByte();
    if (byte >= 0)
        m_state.SystemBlock[byte] = b;
    // The box only ever shows the stored value; the rewrite runs this once more,
    // which then finds nothing to change.
    const QString shown = QString::number(b);
    if (txtDampingValue->text() != shown)
        txtDampingValue->setText(shown);
}

void DampingWindow::onExitDampingClicked()
{
    hide();
}

bool DampingWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        onActivated();
    return QWidget::event(event);
}
