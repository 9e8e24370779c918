#include "ui/dialogs/CompareWindow.h"

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

    lblTitles = new QLabel(this);
    lblTitles->setObjectName(QStringLiteral("lblTitles"));
    lblTitles->setWordWrap(true);
    lblTitles->setTextInteractionFlags(Qt::TextSelectableByMouse);

    optDifferences = new QRadioButton(QStringLiteral("Only &differences"), this);
    optDifferences->setObjectName(QStringLiteral("optDifferences"));
    optDifferences->setAccessibleName(QStringLiteral("Show only differences"));
    optDifferences->setChecked(true);
    optEverything = new QRadioButton(QStringLiteral("&Everything"), this);
    optEverything->setObjectName(QStringLiteral("optEverything"));
    optEverything->setAccessibleName(QStringLiteral("Show every field"));
    auto *filter = new QButtonGroup(this);
    filter->addButton(optDifferences);
    filter->addButton(optEverything);
    connect(optDifferences, &QRadioButton::toggled, this, [this] { fill(); });

    lstDifferences = new QTreeWidget(this);
    lstDifferences->setObjectName(QStringLiteral("lstDifferences"));
    lstDifferences->setAccessibleName(QStringLiteral("Differences"));
    lstDifferences->setColumnCount(2);
    lstDifferences->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Value")});
    lstDifferences->setUniformRowHeights(true);
    lstDifferences->setAlternatingRowColors(true);
    lstDifferences->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    lstDifferences->header()->setStretchLastSection(true);

    cmdSave = new QPushButton(QStringLiteral("&Save…"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setAccessibleName(QStringLiteral("Save the differences as a text file"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAccessibleName(QStringLiteral("Close"));
    connect(cmdSave, &QPushButton::clicked, this, &CompareWindow::onSaveClicked);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(optDifferences);
    filterRow->addWidget(optEverything);
    filterRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTitles);
    layout->addLayout(filterRow);
    layout->addWidget(lstDifferences, 1);
    layout->addLayout(buttons);
    setTabOrder(optDifferences, optEverything);
    setTabOrder(optEverything, lstDifferences);
    setTabOrder(lstDifferences, cmdSave);
    setTabOrder(cmdSave, cmdClose);
    resize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 150, fontMetrics().height() * 36);
}

void CompareWindow::compare(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                            const QString &afterTitle)
{
    m_before = before;
    m_after = after;
    m_beforeTitle = beforeTitle;
    m_afterTitle = afterTitle;
    m_differences = fields::differences(before, after);
    m_everything.clear();
    setWindowTitle(fields::comparisonTitle(beforeTitle, afterTitle));
    lblTitles->setText(fields::comparisonSummary(int(m_differences.size()), beforeTitle, afterTitle));
    lstDifferences->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("%1 → %2").arg(beforeTitle, afterTitle)});
    fill();
}

const std::vector<fields::Line> &CompareWindow::shownLines() const
{
    if (optDifferences->isChecked())
        return m_differences;
    if (m_everything.empty())
        m_everything = fields::everything(m_before, m_after);
    return m_everything;
}

void CompareWindow::fill()
{
    lstDifferences->clear();
    int counts[fields::kGroupCount] = {};
    for (const fields::Line &line : m_differences)
        ++counts[line.group];
    QTreeWidgetItem *groupItem = nullptr;
    int group = -1;
    for (const fields::Line &line : shownLines()) {
        if (line.group != group || !groupItem) {
            group = line.group;
            groupItem = new QTreeWidgetItem(lstDifferences, {groupHeading(group, counts[group])});
            groupItem->setFirstColumnSpanned(true);
            QFont bold = groupItem->font(0);
            bold.setBold(true);
            groupItem->setFont(0, bold);
            groupItem->setExpanded(optDifferences->isChecked() || counts[group] > 0);
        }
        auto *item = new QTreeWidgetItem(groupItem, {line.field, changeText(line)});
        if (line.differs) {
            QFont bold = item->font(1);
            bold.setBold(true);
            item->setFont(1, bold);
        }
    }
    lstDifferences->resizeColumnToContents(0);
    cmdSave->setEnabled(!shownLines().empty());
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
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason),
                      Prompts::Icon::Critical);
}
