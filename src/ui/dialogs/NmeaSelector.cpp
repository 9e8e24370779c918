#include "ui/dialogs/NmeaSelector.h"

#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "core/NmeaLists.h"
#include "ui/editor/FieldMarks.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr layout::NmeaPart kParts[3] = {layout::NmeaPart::Talker, layout::NmeaPart::Sentence, layout::NmeaPart::Commas};
} // namespace

NmeaSelector::NmeaSelector(EditorState &state, ImageModel &image, QWidget *parent)
    : QDialog(parent), m_state(state), m_image(image)
{
    setObjectName(QStringLiteral("frmNmea"));
    setWindowTitle(QStringLiteral("NMEA Sentence Selector"));
    setModal(false);

    auto makeList = [this](const char *name, const QString &accessible) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QLatin1String(name));
        combo->setAccessibleName(accessible);
        combo->setMaxVisibleItems(15);
        return combo;
    };
    auto makeLabel = [this](const char *name, const QString &text, QWidget *buddy) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setAccessibleName(text);
        label->setBuddy(buddy);
        return label;
    };
    m_talkerList = makeList("cmbNmeaTalker", QStringLiteral("Talker ID"));
    m_identifierList = makeList("cmbNmeaID", QStringLiteral("Sentence identifier"));
    m_commasList = makeList("cmdNmeaCommas", QStringLiteral("Commas"));
    m_talkerLabel = makeLabel("lblNmeaTalker", QStringLiteral("Talker ID"), m_talkerList);
    m_identifierLabel = makeLabel("lblNmeaID", QStringLiteral("Indentifier"), m_identifierList);
    m_commasLabel = makeLabel("lblNmeaCommas", QStringLiteral("Commas"), m_commasList);

    auto makeButton = [this](const char *name, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(text);
        button->setAutoDefault(false);
        return button;
    };
    m_acceptButton = makeButton("cmdNmeaAccept", QStringLiteral("Accept"));
    m_cancelButton = makeButton("cmdNmeaCancel", QStringLiteral("Cancel"));
    m_viewDataButton = makeButton("cmdNmeaViewData", QStringLiteral("View Data"));
    m_acceptButton->setDefault(true);

    auto *lists = new QGridLayout;
    lists->addWidget(m_talkerLabel, 0, 0);
    lists->addWidget(m_identifierLabel, 0, 1);
    lists->addWidget(m_commasLabel, 0, 2);
    lists->addWidget(m_talkerList, 1, 0);
    lists->addWidget(m_identifierList, 1, 1);
    lists->addWidget(m_commasList, 1, 2);
    lists->setHorizontalSpacing(14);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_acceptButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    buttons->addWidget(m_viewDataButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_talkerList, m_identifierList);
    setTabOrder(m_identifierList, m_commasList);
    setTabOrder(m_commasList, m_acceptButton);
    setTabOrder(m_acceptButton, m_cancelButton);
    setTabOrder(m_cancelButton, m_viewDataButton);

    connect(m_acceptButton, &QPushButton::clicked, this, &NmeaSelector::onNmeaAcceptClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &NmeaSelector::onNmeaCancelClicked);
    connect(m_viewDataButton, &QPushButton::clicked, this, &NmeaSelector::onNmeaViewDataClicked);

    fillLists();
}

void NmeaSelector::fillLists()
{
    if (m_talkerList->count() == 0) {
        m_talkerList->addItems(nmea::talkers());
        m_talkerList->setCurrentIndex(0);
    }
    if (m_identifierList->count() == 0) {
        m_identifierList->addItems(nmea::sentences());
        m_identifierList->setCurrentIndex(0);
    }
    if (m_commasList->count() == 0) {
        for (int i = 1; i <= nmea::kCommaEntries; ++i)
            m_commasList->addItem(QString::number(i));
        m_commasList->setCurrentIndex(0);
    }
}

void NmeaSelector::openForSource(int s, const std::optional<twips::Beside> &where)
{
    if (s < 1 || s > layout::kNmeaInputs)
        return;
    if (where)
        twips::placeBeside(this, *where);
    m_state.nmea.selectionIndex = quint8(layout::nmeaSelectionByte(s, layout::NmeaPart::Talker));
    showSource(s);
    show();
    raise();
    activateWindow();
    m_state.nmea.channel = quint8((s + 1) / 2);
}

void NmeaSelector::showSource(int s)
{
    // A byte that names no entry (erased memory, 0) leaves its list without a selection;
    // Accept then keeps that byte as it is.
    QComboBox *lists[3] = {m_talkerList, m_identifierList, m_commasList};
    for (int k = 0; k < 3; ++k) {
        const int position = int(m_image.nmeaSelection(s, kParts[k])) - 1;
        lists[k]->setCurrentIndex(position < lists[k]->count() ? position : -1);
    }
    markSource(s);
}

void NmeaSelector::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    markSource(openSource());
}

void NmeaSelector::markSource(int s)
{
    if (!m_marks)
        return;
    QComboBox *lists[3] = {m_talkerList, m_identifierList, m_commasList};
    for (int k = 0; k < 3; ++k)
        m_marks->attach(lists[k], s ? QStringList{fields::nmeaFieldName(s, kParts[k])} : QStringList());
}

int NmeaSelector::openSource() const
{
    // nmea.selectionIndex is the talker byte of the open source; only the 24 selection
    // bytes are ever a target.
    const int offset = m_state.nmea.selectionIndex - layout::kNmeaSelection;
    const int input = offset / 3 + 1;
    return (offset >= 0 && offset % 3 == 0 && input <= layout::kNmeaInputs) ? input : 0;
}

void NmeaSelector::onNmeaAcceptClicked()
{
    if (const int input = openSource()) {
        QComboBox *lists[3] = {m_talkerList, m_identifierList, m_commasList};
        for (int k = 0; k < 3; ++k)
            if (lists[k]->currentIndex() >= 0)
                m_image.setNmeaSelection(input, kParts[k], quint8(lists[k]->currentIndex() + 1));
    }
    hide();
    stopMonitor();
}

void NmeaSelector::onNmeaCancelClicked()
{
    hide();
    stopMonitor();
}

void NmeaSelector::reject()
{
    onNmeaCancelClicked();
}

void NmeaSelector::onNmeaViewDataClicked()
{
    emit viewDataRequested();
    if (onViewData)
        onViewData();
}

void NmeaSelector::stopMonitor()
{
    m_state.nmea.monitorRunning = false;
    if (onStopMonitor)
        onStopMonitor();
}
