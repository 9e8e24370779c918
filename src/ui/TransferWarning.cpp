#include "ui/TransferWarning.h"

#include "link/OperationRunner.h"

#include "core/EditorState.h"
#include "core/TransferRules.h"
#include "link/Clock.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// Object names of the boxes; their captions are the categories' own (categoryCaption).
const char *const kBoxNames[TransferWarning::kCategories + 1] = {
    nullptr,
    "chkCDC",
    "chkSendReceiveMaintenanceAlarm",
    "chkSentReceivedUofM",
    "chkSentReceivedCalCurves",
    "chkSentReceivedTachoPulleyRatio",
    "chkFuelTankSize",
    "chkSecondTankSize",
    "chkSentReceivedDamping",
    "chkSentReceivedTachoSensitivity",
    "chkSentReceivedHiLoAlarmValues",
    "chkSendReceiveTodAlarms",
    "chkSentReceivedPcTimeOfDay",
    "chkSendReceiveCalibrations",
    "chkSendReceiveRaceTimers",
};

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    return b;
}

QLabel *groupLabel(const QString &text)
{
    auto *l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

TransferWarning::TransferWarning(EditorState &state, QWidget *parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("frmBeingSentReceived"));
    setWindowTitle(QStringLiteral("WARNING . . . Upload data from PC to Corvane.    Are you sure?"));

    for (int i = 1; i <= kCategories; ++i) {
        auto *b = new QCheckBox(transfer::categoryCaption(i), this);
        b->setObjectName(QLatin1String(kBoxNames[i]));
        b->setAccessibleName(b->text());
        m_boxes[i] = b;
    }
    chkCDC = m_boxes[1];
    chkSendReceiveMaintenanceAlarm = m_boxes[2];
    chkSentReceivedUofM = m_boxes[3];
    chkSentReceivedCalCurves = m_boxes[4];
    chkSentReceivedTachoPulleyRatio = m_boxes[5];
    chkFuelTankSize = m_boxes[6];
    chkSecondTankSize = m_boxes[7];
    chkSentReceivedDamping = m_boxes[8];
    chkSentReceivedTachoSensitivity = m_boxes[9];
    chkSentReceivedHiLoAlarmValues = m_boxes[10];
    chkSendReceiveTodAlarms = m_boxes[11];
    chkSentReceivedPcTimeOfDay = m_boxes[12];
    chkSendReceiveCalibrations = m_boxes[13];
    chkSendReceiveRaceTimers = m_boxes[14];

    auto *warning = new QGroupBox(QStringLiteral("WARNING"), this);
    auto *warningLayout = new QVBoxLayout(warning);
    auto *line1 =
        new QLabel(QStringLiteral("Executing this command will cause the data shown in the right hand panel "
                                  "to be overwritten.    All those data items will be replaced if you proceed!"));
    auto *line2 = new QLabel(QStringLiteral("Uncheck items at the right that you do not want to be overwritten."));
    for (QLabel *l : {line1, line2}) {
        l->setWordWrap(true);
        warningLayout->addWidget(l);
    }
    warningLayout->addStretch();

    auto *data = new QGroupBox(QStringLiteral("Data to be overwritten "), this);
    auto *grid = new QGridLayout(data);
    grid->addWidget(groupLabel(QStringLiteral("Adjustable on PC only")), 0, 0);
    for (int i = 1; i <= 7; ++i)
        grid->addWidget(m_boxes[i], i, 0);
    grid->addWidget(groupLabel(QStringLiteral("Adjustable on PC and Corvane")), 0, 1);
    const int pcAndInstrument[] = {8, 10, 9, 11, 12};
    for (int r = 0; r < 5; ++r)
        grid->addWidget(m_boxes[pcAndInstrument[r]], r + 1, 1);
    grid->addWidget(groupLabel(QStringLiteral("Adjustable on  Corvane Only")), 6, 1);
    grid->addWidget(m_boxes[13], 7, 1);
    grid->addWidget(m_boxes[14], 8, 1);
    grid->setColumnMinimumWidth(0, 200);

    auto *all = new QGroupBox(QStringLiteral("All Boxes"), this);
    auto *allLayout = new QHBoxLayout(all);
    cmdfraWarningSetAll = button(all, "cmdfraWarningSetAll", QStringLiteral("Set"));
    cmdfraWarningClearAll = button(all, "cmdfraWarningClearAll", QStringLiteral("Clear"));
    allLayout->addWidget(cmdfraWarningSetAll);
    allLayout->addWidget(cmdfraWarningClearAll);

    auto *command = new QGroupBox(QStringLiteral("Command"), this);
    auto *commandLayout = new QHBoxLayout(command);
    cmdWarningContinue = button(command, "cmdWarningContinue", QStringLiteral("CONTINUE"));
    cmdWarningCancel = button(command, "cmdWarningCancel", QStringLiteral("CANCEL"));
    cmdWarningCompare = button(command, "cmdWarningCompare", QStringLiteral("Compare first…"));
    cmdWarningCompare->hide();
    commandLayout->addWidget(cmdWarningContinue);
    commandLayout->addWidget(cmdWarningCancel);
    commandLayout->addWidget(cmdWarningCompare);

    auto *left = new QVBoxLayout;
    left->addWidget(warning, 1);
    left->addWidget(all);
    left->addWidget(command);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addWidget(data, 3);
    warning->setMinimumWidth(260);

    connect(cmdWarningContinue, &QPushButton::clicked, this, &TransferWarning::onWarningContinueClicked);
    connect(cmdWarningCancel, &QPushButton::clicked, this, &TransferWarning::onWarningCancelClicked);
    connect(cmdWarningCompare, &QPushButton::clicked, this, &TransferWarning::onWarningCompareClicked);
    connect(cmdfraWarningSetAll, &QPushButton::clicked, this, &TransferWarning::onWarningSetAllClicked);
    connect(cmdfraWarningClearAll, &QPushButton::clicked, this, &TransferWarning::onWarningClearAllClicked);
    cmdWarningContinue->setDefault(true);
}

void TransferWarning::answer(int value)
{
    m_state.DialogAnswer = quint8(value);
    if (onAnswer)
        onAnswer();
}

void TransferWarning::onWarningContinueClicked()
{
    answer(2);
}

void TransferWarning::onWarningCancelClicked()
{
    answer(1);
}

void TransferWarning::onWarningCompareClicked()
{
    answer(kCompareFirst);
}

void TransferWarning::onWarningSetAllClicked()
{
    if (!m_state.DownloadMode) {
        for (int i : {1, 2, 3, 4, 5, 6, 7, 12})
            m_boxes[i]->setChecked(true);
    }
    for (int i : {8, 9, 10, 11, 13, 14})
        m_boxes[i]->setChecked(true);
}

void TransferWarning::onWarningClearAllClicked()
{
    for (int i = 1; i <= kCategories; ++i)
        m_boxes[i]->setChecked(false);
}

void TransferWarning::closeEvent(QCloseEvent *event)
{
    if (m_state.DialogAnswer == 0)
        answer(1);
    QWidget::closeEvent(event);
}

void WarningQuestion::onWindow(const std::function<void()> &fn)
{
    if (m_runner)
        m_runner->onWindows(fn);
    else
        fn();
}

transfer::CategoryAnswer WarningQuestion::ask(const QString &title, const transfer::Categories &enabled,
                                              const transfer::Categories &checked)
{
    onWindow([&] {
        m_window.setWindowTitle(title);
        for (int i = 1; i <= transfer::kCategories; ++i) {
            m_window.box(i)->setEnabled(enabled[i]);
            m_window.box(i)->setChecked(checked[i]);
        }
        m_state.DialogAnswer = 0;
        // Offered for an upload once a port is chosen: the instrument can be read.
        m_window.cmdWarningCompare->setVisible(onCompare && !m_state.DownloadMode && m_state.ComPortNumber != 0);
        m_window.show();
        m_window.raise();
        m_window.onAnswer = [this] { m_clock.wake(); };
    });
    m_clock.waitUntil(Clock::kForever, [this] {
        bool answered = false;
        onWindow([&] { answered = m_state.DialogAnswer != 0; });
        return answered;
    });
    transfer::CategoryAnswer answer;
    onWindow([&] {
        m_window.onAnswer = nullptr;
        answer.proceed = m_state.DialogAnswer == 2;
        answer.compareFirst = m_state.DialogAnswer == TransferWarning::kCompareFirst;
        for (int i = 1; i <= transfer::kCategories; ++i)
            answer.chosen[i] = m_window.box(i)->isChecked();
        m_window.hide();
    });
    return answer;
}

void WarningQuestion::showComparison(const ConfigImage &instrument, const ConfigImage &afterUpload)
{
    if (onCompare)
        onWindow([&] { onCompare(instrument, afterUpload); });
}

void WarningQuestion::dismiss()
{
    onWindow([this] { m_window.hide(); });
}
