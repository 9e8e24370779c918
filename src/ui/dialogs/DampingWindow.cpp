#include "ui/dialogs/DampingWindow.h"

#include "core/DampingTable.h"
#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "ui/dialogs/ListItemMarks.h"
#include "ui/editor/FieldMarks.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace
{

using damping::kFunctions;
constexpr float kMaxDamping = 250.0f;

} // namespace

DampingWindow::DampingWindow(ImageModel &image, Prompts &, QWidget *parent) : QWidget(parent), m_image(image)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmDamping"));
    setWindowTitle(QStringLiteral("View/Set Display Damping"));

    m_functionList = new QComboBox(this);
    m_functionList->setObjectName(QStringLiteral("cboDamping"));
    for (const damping::Function &f : damping::kTable)
        m_functionList->addItem(QLatin1String(f.name));
    m_functionList->setCurrentIndex(0);
    m_functionList->setAccessibleName(QStringLiteral("Display Function"));
    m_functionLabel = new QLabel(QStringLiteral("Display Function"), this);
    m_functionLabel->setObjectName(QStringLiteral("lblDampingFunction"));
    m_functionLabel->setBuddy(m_functionList);

    m_valueBox = new QLineEdit(this);
    m_valueBox->setObjectName(QStringLiteral("txtDampingValue"));
    m_valueBox->setAccessibleName(QStringLiteral("Damping Value"));
    m_valueBox->setAlignment(Qt::AlignRight);
    m_valueBox->setMaximumWidth(m_valueBox->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    m_valueLabel = new QLabel(QStringLiteral("Damping     Value "), this);
    m_valueLabel->setObjectName(QStringLiteral("lblDampingValue"));
    // The caption keeps its designed blanks; shown as they are they would part "Value" from
    // "Damping", so the label shows it as rich text, which collapses them: "Damping Value".
    m_valueLabel->setTextFormat(Qt::RichText);
    m_valueLabel->setAccessibleName(m_valueLabel->text().simplified());
    m_valueLabel->setBuddy(m_valueBox);

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("cmdExitDamping"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));

    auto *fields = new QGridLayout;
    fields->addWidget(m_functionLabel, 0, 0);
    fields->addWidget(m_functionList, 1, 0);
    fields->addWidget(m_valueLabel, 0, 1);
    fields->addWidget(m_valueBox, 1, 1, Qt::AlignLeft);
    fields->setHorizontalSpacing(16);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_functionList, &QComboBox::currentIndexChanged, this, &DampingWindow::onDampingClicked);
    connect(m_valueBox, &QLineEdit::textChanged, this, &DampingWindow::onDampingValueChanged);
    connect(m_doneButton, &QPushButton::clicked, this, &DampingWindow::onExitDampingClicked);
    connect(&m_image, &ImageModel::imageReplaced, this, &DampingWindow::showImage);

    showSelectedValue();
}

int DampingWindow::selectedFunction() const
{
    const int i = m_functionList->currentIndex();
    return (i >= 0 && i < kFunctions) ? i : -1;
}

void DampingWindow::refresh(const QString &textWhenNoneSelected)
{
    const int function = selectedFunction();
    m_valueBox->setText(function < 0 ? textWhenNoneSelected : QString::number(m_image.damping(function)));
    markValue();
}

void DampingWindow::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    if (marks)
        new ListItemMarks(m_functionList, *marks, [](int function) {
            return function < kFunctions ? QStringList{fields::dampingFieldName(function)} : QStringList();
        });
    markValue();
}

void DampingWindow::markValue()
{
    const int function = selectedFunction();
    if (m_marks)
        m_marks->attach(m_valueBox, function < 0 ? QStringList() : QStringList{fields::dampingFieldName(function)});
}

void DampingWindow::showSelectedValue()
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

void DampingWindow::showImage()
{
    // The box stores what it is given; a value beyond 250 shown here must stay as it is.
    const QSignalBlocker quiet(m_valueBox);
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
    if (m_functionList->currentIndex() != 0)
        m_functionList->setCurrentIndex(0);
    m_valueBox->setText(numtext::signedText(qint64(m_image.damping(0))));
}

void DampingWindow::onDampingValueChanged()
{
    float v = float(numtext::leadingNumber(m_valueBox->text()));
    if (v < 0.0f)
        v = 0.0f;
    if (v > kMaxDamping)
        v = kMaxDamping;
    const auto b = quint8(numtext::roundHalfEven(v));
    const int function = selectedFunction();
    if (function >= 0)
        m_image.setDamping(function, b);
    // The box only ever shows the stored value; the rewrite runs this once more,
    // which then finds nothing to change.
    const QString shown = QString::number(b);
    if (m_valueBox->text() != shown)
        m_valueBox->setText(shown);
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
