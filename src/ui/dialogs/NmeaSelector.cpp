#include "ui/dialogs/NmeaSelector.h"

#include "core/NmeaLists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

NmeaSelector::NmeaSelector(EditorState &state, QWidget *parent) : QDialog(parent), m_state(state)
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
    cmbNmeaTalker = makeList("cmbNmeaTalker", QStringLiteral("Talker ID"));
    cmbNmeaID = makeList("cmbNmeaID", QStringLiteral("Sentence identifier"));
    cmdNmeaCommas = makeList("cmdNmeaCommas", QStringLiteral("Commas"));
    lblNmeaTalker = makeLabel("lblNmeaTalker", QStringLiteral("Talker ID"), cmbNmeaTalker);
    lblNmeaID = makeLabel("lblNmeaID", QStringLiteral("Indentifier"), cmbNmeaID);
    lblNmeaCommas = makeLabel("lblNmeaCommas", QStringLiteral("Commas"), cmdNmeaCommas);

    auto makeButton = [this](const char *name, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(text);
        button->setAutoDefault(false);
        return button;
    };
    cmdNmeaAccept = makeButton("cmdNmeaAccept", QStringLiteral("Accept"));
    cmdNmeaCancel = makeButton("cmdNmeaCancel", QStringLiteral("Cancel"));
    cmdNmeaViewData = makeButton("cmdNmeaViewData", QStringLiteral("View Data"));
    cmdNmeaAccept->setDefault(true);

    auto *lists = new QGridLayout;
    lists->addWidget(lblNmeaTalker, 0, 0);
    lists->addWidget(lblNmeaID, 0, 1);
    lists->addWidget(lblNmeaCommas, 0, 2);
    lists->addWidget(cmbNmeaTalker, 1, 0);
    lists->addWidget(cmbNmeaID, 1, 1);
    lists->addWidget(cmdNmeaCommas, 1, 2);
    lists->setHorizontalSpacing(14);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdNmeaAccept);
    buttons->addWidget(cmdNmeaCancel);
    buttons->addStretch(1);
    buttons->addWidget(cmdNmeaViewData);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmbNmeaTalker, cmbNmeaID);
    setTabOrder(cmbNmeaID, cmdNmeaCommas);
    setTabOrder(cmdNmeaCommas, cmdNmeaAccept);
    setTabOrder(cmdNmeaAccept, cmdNmeaCancel);
    setTabOrder(cmdNmeaCancel, cmdNmeaViewData);

    connect(cmdNmeaAccept, &QPushButton::clicked, this, &NmeaSelector::onNmeaAcceptClicked);
    connect(cmdNmeaCancel, &QPushButton::clicked, this, &NmeaSelector::onNmeaCancelClicked);
    connect(cmdNmeaViewData, &QPushButton::clicked, this, &NmeaSelector::onNmeaViewDataClicked);

    fillLists();
}

void NmeaSelector::fillLists()
{
    if (cmbNmeaTalker->count() == 0) {
        cmbNmeaTalker->addItems(nmea::talkers());
        cmbNmeaTalker->setCurrentIndex(0);
    }
    if (cmbNmeaID->count() == 0) {
        cmbNmeaID->addItems(nmea::sentences());
        cmbNmeaID->setCurrentIndex(0);
    }
    if (cmdNmeaCommas->count() == 0) {
        for (int i = 1; i <= nmea::kCommaEntries; ++i)
            cmdNmeaCommas->addItem(QString::number(i));
        cmdNmeaCommas->setCurrentIndex(0);
    }
}

void NmeaSelector::openForSource(int s, const std::optional<twips::Beside> &where)
{
    if (s < 1 || s > 8)
        return;
    if (where)
        twips::placeBeside(this, *where);
    const int first = 3 * s + 65;
    m_state.NmeaSelectionIndex = quint8(first);
    // A byte that names no entry (erased memory, 0) leaves its list without a selection;
    // Accept then keeps that byte as it is.
    QComboBox *lists[3] = {cmbNmeaTalker, cmbNmeaID, cmdNmeaCommas};
    for (int k = 0; k < 3; ++k) {
        const int position = int(m_state.SystemBlock[first + k]) - 1;
        lists[k]->setCurrentIndex(position < lists[k]->count() ? position : -1);
    }
    show();
    raise();
    activateWindow();
    m_state.NmeaChannel = quint8((s + 1) / 2);
}

void NmeaSelector::onNmeaAcceptClicked()
{
    const int first = m_state.NmeaSelectionIndex;
    // Only the 24 selection bytes 68..91 are ever a target.
    if (first >= 68 && first + 2 <= 91) {
        QComboBox *lists[3] = {cmbNmeaTalker, cmbNmeaID, cmdNmeaCommas};
        for (int k = 0; k < 3; ++k)
            if (lists[k]->currentIndex() >= 0)
                m_state.SystemBlock[first + k] = quint8(lists[k]->currentIndex() + 1);
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
    m_state.NmeaMonitorRunning = false;
    if (onStopMonitor)
        onStopMonitor();
}
