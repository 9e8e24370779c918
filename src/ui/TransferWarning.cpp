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
using W = TransferWarning;

// The box of each category (1..14): the member that keeps it and its object name; the
// captions are the categories' own (categoryCaption).
const struct {
    QCheckBox *W::*member;
    const char *name;
} kBoxes[W::kCategories + 1] = {
    {nullptr, nullptr},
    {&W::chkCDC, "chkCDC"},
    {&W::chkSendReceiveMaintenanceAlarm, "chkSendReceiveMaintenanceAlarm"},
    {&W::chkSentReceivedUofM, "chkSentReceivedUofM"},
    {&W::chkSentReceivedCalCurves, "chkSentReceivedCalCurves"},
    {&W::chkSentReceivedTachoPulleyRatio, "chkSentReceivedTachoPulleyRatio"},
    {&W::chkFuelTankSize, "chkFuelTankSize"},
    {&W::chkSecondTankSize, "chkSecondTankSize"},
    {&W::chkSentReceivedDamping, "chkSentReceivedDamping"},
    {&W::chkSentReceivedTachoSensitivity, "chkSentReceivedTachoSensitivity"},
    {&W::chkSentReceivedHiLoAlarmValues, "chkSentReceivedHiLoAlarmValues"},
    {&W::chkSendReceiveTodAlarms, "chkSendReceiveTodAlarms"},
    {&W::chkSentReceivedPcTimeOfDay, "chkSentReceivedPcTimeOfDay"},
    {&W::chkSendReceiveCalibrations, "chkSendReceiveCalibrations"},
    {&W::chkSendReceiveRaceTimers, "chkSendReceiveRaceTimers"},
};

// Where the "Data to be overwritten" grid shows a category's box, or a heading (category 0).
const struct {
    int category;
    const char *heading;
    int row, column;
} kDataGrid[] = {
    {0, "Adjustable on PC only", 0, 0},
    {1, nullptr, 1, 0},
    {2, nullptr, 2, 0},
    {3, nullptr, 3, 0},
    {4, nullptr, 4, 0},
    {5, nullptr, 5, 0},
    {6, nullptr, 6, 0},
    {7, nullptr, 7, 0},
    {0, "Adjustable on PC and Corvane", 0, 1},
    {8, nullptr, 1, 1},
    {10, nullptr, 2, 1},
    {9, nullptr, 3, 1},
    {11, nullptr, 4, 1},
    {12, nullptr, 5, 1},
    {0, "Adjustable on  Corvane Only", 6, 1},
    {13, nullptr, 7, 1},
    {14, nullptr, 8, 1},
};

// A command button: the member that keeps it, its object name, caption and handler.
struct CommandButton {
    QPushButton *W::*member;
    const char *name;
    const char *caption;
    void (W::*handler)();
};

const CommandButton kAllBoxesButtons[] = {
    {&W::cmdfraWarningSetAll, "cmdfraWarningSetAll", "Set", &W::onWarningSetAllClicked},
    {&W::cmdfraWarningClearAll, "cmdfraWarningClearAll", "Clear", &W::onWarningClearAllClicked},
};

const CommandButton kCommandButtons[] = {
    {&W::cmdWarningContinue, "cmdWarningContinue", "CONTINUE", &W::onWarningContinueClicked},
    {&W::cmdWarningCancel, "cmdWarningCancel", "CANCEL", &W::onWarningCancelClicked},
    {&W::cmdWarningCompare, "cmdWarningCompare", "Compare first…", &W::onWarningCompareClicked},
};

// A titled row of command buttons, each connected to its handler.
template <size_t N> QGroupBox *buttonRow(W &window, const QString &title, const CommandButton (&buttons)[N])
{
    auto *group = new QGroupBox(title, &window);
    auto *layout = new QHBoxLayout(group);
    for (const CommandButton &def : buttons) {
        const QString caption = QString::fromUtf8(def.caption);
        auto *b = new QPushButton(caption, group);
        b->setObjectName(QLatin1String(def.name));
        b->setAccessibleName(caption);
        layout->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, &window, def.handler);
        window.*def.member = b;
    }
    return group;
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

    buildBoxes();
    QGroupBox *warning = buildWarningText();
    QGroupBox *data = buildDataGrid();
    QGroupBox *all = buttonRow(*this, QStringLiteral("All Boxes"), kAllBoxesButtons);
    QGroupBox *command = buttonRow(*this, QStringLiteral("Command"), kCommandButtons);
    cmdWarningCompare->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(warning, 1);
    left->addWidget(all);
    left->addWidget(command);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addWidget(data, 3);
    warning->setMinimumWidth(260);
    cmdWarningContinue->setDefault(true);
}

void TransferWarning::buildBoxes()
{
    for (int i = 1; i <= kCategories; ++i) {
        auto *b = new QCheckBox(transfer::categoryCaption(i), this);
        b->setObjectName(QLatin1String(kBoxes[i].name));
        b->setAccessibleName(b->text());
        m_boxes[i] = b;
        this->*kBoxes[i].member = b;
    }
}

QGroupBox *TransferWarning::buildWarningText()
{
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
    return warning;
}

QGroupBox *TransferWarning::buildDataGrid()
{
    auto *data = new QGroupBox(QStringLiteral("Data to be overwritten "), this);
    auto *grid = new QGridLayout(data);
    for (const auto &cell : kDataGrid) {
        QWidget *w =
            cell.heading ? static_cast<QWidget *>(groupLabel(QString::fromUtf8(cell.heading))) : m_boxes[cell.category];
        grid->addWidget(w, cell.row, cell.column);
    }
    grid->setColumnMinimumWidth(0, 200);
    return data;
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
