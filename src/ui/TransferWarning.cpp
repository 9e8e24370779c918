#include "ui/TransferWarning.h"

#include "core/EditorState.h"
#include "core/TransferRules.h"
#include "link/OperationRunner.h"
#include "link/Reply.h"
#include "link/SerialLink.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace
{
using W = TransferWarning;

// The object name of each category's box (1..14); the captions are the categories' own
// (categoryCaption).
const char *const kBoxNames[W::kCategories + 1] = {
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

// A command button: its object name, caption and handler.
struct CommandButton {
    const char *name;
    const char *caption;
    void (W::*handler)();
};

const CommandButton kAllBoxesButtons[] = {
    {"cmdfraWarningSetAll", "Set", &W::onWarningSetAllClicked},
    {"cmdfraWarningClearAll", "Clear", &W::onWarningClearAllClicked},
};

const CommandButton kCommandButtons[] = {
    {"cmdWarningContinue", "CONTINUE", &W::onWarningContinueClicked},
    {"cmdWarningCancel", "CANCEL", &W::onWarningCancelClicked},
    {"cmdWarningCompare", "Compare first…", &W::onWarningCompareClicked},
};
// Positions in kCommandButtons.
constexpr size_t kContinue = 0;
constexpr size_t kCompare = 2;

// A titled row of command buttons, each connected to its handler; made[i] is buttons[i]'s.
template <size_t N>
QGroupBox *buttonRow(W &window, const QString &title, const CommandButton (&buttons)[N],
                     QPushButton *(*made)[N] = nullptr)
{
    auto *group = new QGroupBox(title, &window);
    auto *layout = new QHBoxLayout(group);
    for (size_t i = 0; i < N; ++i) {
        const CommandButton &def = buttons[i];
        const QString caption = QString::fromUtf8(def.caption);
        auto *b = new QPushButton(caption, group);
        b->setObjectName(QLatin1String(def.name));
        b->setAccessibleName(caption);
        layout->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, &window, def.handler);
        if (made)
            (*made)[i] = b;
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

TransferWarning::TransferWarning(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmBeingSentReceived"));
    setWindowTitle(QStringLiteral("WARNING . . . Upload data from PC to Corvane.    Are you sure?"));

    buildBoxes();
    QGroupBox *warning = buildWarningText();
    QGroupBox *data = buildDataGrid();
    QGroupBox *all = buttonRow(*this, QStringLiteral("All Boxes"), kAllBoxesButtons);
    QPushButton *commands[std::size(kCommandButtons)] = {};
    QGroupBox *command = buttonRow(*this, QStringLiteral("Command"), kCommandButtons, &commands);
    m_continueButton = commands[kContinue];
    m_compareButton = commands[kCompare];
    m_compareButton->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(warning, 1);
    left->addWidget(all);
    left->addWidget(command);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addWidget(data, 3);
    warning->setMinimumWidth(260);
    m_continueButton->setDefault(true);
}

void TransferWarning::buildBoxes()
{
    for (int i = 1; i <= kCategories; ++i) {
        auto *b = new QCheckBox(transfer::categoryCaption(i), this);
        b->setObjectName(QLatin1String(kBoxNames[i]));
        b->setAccessibleName(b->text());
        m_boxes[i] = b;
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

void TransferWarning::setCategories(const transfer::Categories &enabled, const transfer::Categories &checked)
{
    for (int i = 1; i <= kCategories; ++i) {
        m_boxes[i]->setEnabled(enabled[i]);
        m_boxes[i]->setChecked(checked[i]);
    }
}

transfer::Categories TransferWarning::chosenCategories() const
{
    transfer::Categories chosen{};
    for (int i = 1; i <= kCategories; ++i)
        chosen[i] = m_boxes[i]->isChecked();
    return chosen;
}

void TransferWarning::setCompareOffered(bool offered)
{
    m_compareButton->setVisible(offered);
}

void TransferWarning::answer(WarningAnswer value)
{
    if (const auto open = std::exchange(onAnswer, nullptr))
        open(value);
}

void TransferWarning::onWarningContinueClicked()
{
    answer(WarningAnswer::Continue);
}

void TransferWarning::onWarningCancelClicked()
{
    answer(WarningAnswer::Cancel);
}

void TransferWarning::onWarningCompareClicked()
{
    answer(WarningAnswer::CompareFirst);
}

void TransferWarning::onWarningSetAllClicked()
{
    // A download offers only the categories it can receive.
    for (int i = 1; i <= kCategories; ++i)
        if (m_boxes[i]->isEnabledTo(this))
            m_boxes[i]->setChecked(true);
}

void TransferWarning::onWarningClearAllClicked()
{
    for (int i = 1; i <= kCategories; ++i)
        m_boxes[i]->setChecked(false);
}

void TransferWarning::closeEvent(QCloseEvent *event)
{
    if (onAnswer)
        answer(WarningAnswer::Cancel);
    QWidget::closeEvent(event);
}

void WarningQuestion::onWindow(const std::function<void()> &fn)
{
    if (m_runner)
        m_runner->post(fn);
    else
        fn();
}

transfer::CategoryAnswer WarningQuestion::ask(const QString &title, const transfer::Categories &enabled,
                                              const transfer::Categories &checked)
{
    const auto reply = std::make_shared<Reply<transfer::CategoryAnswer>>(m_link.clock());
    onWindow([this, title, enabled, checked, reply] {
        m_window.setWindowTitle(title);
        m_window.setCategories(enabled, checked);
        // An upload offers every category; it offers "Compare first…" once a port is
        // chosen (the instrument can be read).
        const bool upload = std::all_of(enabled.begin() + 1, enabled.end(), [](bool on) { return on; });
        m_window.setCompareOffered(onCompare && upload && m_windowsLink.portNumber != 0);
        m_window.onAnswer = [this, reply](WarningAnswer value) {
            transfer::CategoryAnswer answer;
            answer.proceed = value == WarningAnswer::Continue;
            answer.compareFirst = value == WarningAnswer::CompareFirst;
            answer.chosen = m_window.chosenCategories();
            m_window.hide();
            reply->give(answer);
        };
        m_window.show();
        m_window.raise();
    });
    if (m_link.waitForAnswer([&] { return reply->answered(); }))
        return reply->value().value_or(transfer::CategoryAnswer());
    // Cancel, a lost port or the editor closing: the question leaves the screen unanswered.
    onWindow([this] {
        m_window.onAnswer = nullptr;
        m_window.hide();
    });
    return transfer::CategoryAnswer();
}

void WarningQuestion::showComparison(const ConfigImage &instrument, const ConfigImage &afterUpload)
{
    if (onCompare)
        onWindow([this, instrument, afterUpload] { onCompare(instrument, afterUpload); });
}

void WarningQuestion::dismiss()
{
    onWindow([this] { m_window.hide(); });
}
