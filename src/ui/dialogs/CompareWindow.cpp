#include "ui/dialogs/CompareWindow.h"
#include "core/ConfigFile.h"

#include "core/CompareText.h"
#include "core/Prompts.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

using fields::changeText;
using fields::groupHeading;

CompareWindow::CompareWindow(Prompts &prompts, QWidget *parent) : QWidget(parent), m_prompts(prompts)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("Compare Configurations"));

    m_titlesLabel = new QLabel(this);
    m_titlesLabel->setObjectName(QStringLiteral("lblTitles"));
    m_titlesLabel->setWordWrap(true);
    m_titlesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_differencesOption = new QRadioButton(QStringLiteral("Only &differences"), this);
    m_differencesOption->setObjectName(QStringLiteral("optDifferences"));
    m_differencesOption->setAccessibleName(QStringLiteral("Show only differences"));
    m_differencesOption->setChecked(true);
    m_everythingOption = new QRadioButton(QStringLiteral("&Everything"), this);
    m_everythingOption->setObjectName(QStringLiteral("optEverything"));
    m_everythingOption->setAccessibleName(QStringLiteral("Show every field"));
    auto *filter = new QButtonGroup(this);
    filter->addButton(m_differencesOption);
    filter->addButton(m_everythingOption);
    connect(m_differencesOption, &QRadioButton::toggled, this, [this] { fill(); });

    m_differenceTree = new QTreeWidget(this);
    m_differenceTree->setObjectName(QStringLiteral("lstDifferences"));
    m_differenceTree->setAccessibleName(QStringLiteral("Differences"));
    m_differenceTree->setColumnCount(2);
    m_differenceTree->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Value")});
    m_differenceTree->setUniformRowHeights(true);
    m_differenceTree->setAlternatingRowColors(true);
    m_differenceTree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_differenceTree->header()->setStretchLastSection(true);

    m_saveButton = new QPushButton(QStringLiteral("&Save…"), this);
    m_saveButton->setObjectName(QStringLiteral("cmdSave"));
    m_saveButton->setAccessibleName(QStringLiteral("Save the differences as a text file"));
    m_closeButton = new QPushButton(QStringLiteral("&Close"), this);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));
    m_closeButton->setAccessibleName(QStringLiteral("Close"));
    connect(m_saveButton, &QPushButton::clicked, this, &CompareWindow::onSaveClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(m_differencesOption);
    filterRow->addWidget(m_everythingOption);
    filterRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_titlesLabel);
    layout->addLayout(filterRow);
    layout->addWidget(m_differenceTree, 1);
    layout->addLayout(buttons);
    setTabOrder(m_differencesOption, m_everythingOption);
    setTabOrder(m_everythingOption, m_differenceTree);
    setTabOrder(m_differenceTree, m_saveButton);
    setTabOrder(m_saveButton, m_closeButton);
    resize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 150, fontMetrics().height() * 36);
}

void CompareWindow::compare(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                            const QString &afterTitle, const ConfigImage *units)
{
    m_before = before;
    m_after = after;
    m_units = units ? *units : before;
    m_beforeTitle = beforeTitle;
    m_afterTitle = afterTitle;
    m_differences = fields::differences(before, after, m_units);
    m_everything.clear();
    setWindowTitle(fields::comparisonTitle(beforeTitle, afterTitle));
    m_titlesLabel->setText(fields::comparisonSummary(int(m_differences.size()), beforeTitle, afterTitle));
    m_differenceTree->setHeaderLabels(
        {QStringLiteral("Field"), QStringLiteral("%1 → %2").arg(beforeTitle, afterTitle)});
    fill();
}

const std::vector<fields::Line> &CompareWindow::shownLines() const
{
    if (m_differencesOption->isChecked())
        return m_differences;
    if (m_everything.empty())
        m_everything = fields::everything(m_before, m_after, m_units);
    return m_everything;
}

void CompareWindow::fill()
{
    m_differenceTree->clear();
    int counts[fields::kGroupCount] = {};
    for (const fields::Line &line : m_differences)
        ++counts[line.group];
    QTreeWidgetItem *groupItem = nullptr;
    int group = -1;
    for (const fields::Line &line : shownLines()) {
        if (line.group != group || !groupItem) {
            group = line.group;
            groupItem = new QTreeWidgetItem(m_differenceTree, {groupHeading(group, counts[group])});
            groupItem->setFirstColumnSpanned(true);
            QFont bold = groupItem->font(0);
            bold.setBold(true);
            groupItem->setFont(0, bold);
            groupItem->setExpanded(m_differencesOption->isChecked() || counts[group] > 0);
        }
        auto *item = new QTreeWidgetItem(groupItem, {line.field, changeText(line)});
        if (line.differs) {
            QFont bold = item->font(1);
            bold.setBold(true);
            item->setFont(1, bold);
        }
    }
    m_differenceTree->resizeColumnToContents(0);
    m_saveButton->setEnabled(!shownLines().empty());
}

QString CompareWindow::reportText() const
{
    return fields::comparisonText(shownLines(), m_differences, m_beforeTitle, m_afterTitle);
}

void CompareWindow::onSaveClicked()
{
    const QString path =
        m_prompts.saveFile(QStringLiteral("Save the comparison to file:"), QStringLiteral("Text files (*.TXT)| *.TXT"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray text = reportText().toUtf8();
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        reason = file.errorString();
    else if (file.write(text) != text.size())
        reason = file.errorString();
    else if (!file.commit())
        reason = file.errorString();
    if (reason.isEmpty())
        return;
    file.cancelWriting();
    m_prompts.message(QStringLiteral("Save Comparison"),
                      QStringLiteral("The comparison could not be saved to\r\n%1\r\n%2.\r\n"
                                     "Any earlier file of that name was left unchanged.")
                          .arg(shownPath(path), reason),
                      Prompts::Icon::Critical);
}
