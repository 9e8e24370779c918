#include "ui/dialogs/TakePartsWindow.h"

#include "core/ConfigFile.h"
#include "core/Prompts.h"
#include "core/TransferRules.h"
#include "ui/Twips.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/editor/FileController.h"
#include "ui/editor/FittingScrollArea.h"
#include "ui/editor/ImageHistory.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
QGroupBox *categoryBoxes(QCheckBox **boxes, QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral("Parts to take"), parent);
    group->setObjectName(QStringLiteral("fraCategories"));
    auto *layout = new QGridLayout(group);
    for (int c = 1; c <= fields::kLastCategory; ++c) {
        auto *box = new QCheckBox(transfer::categoryCaption(c), group);
        box->setObjectName(QStringLiteral("chkCategory%1").arg(c));
        box->setAccessibleName(transfer::categoryCaption(c));
        if (c == fields::kClockCategory) {
            box->setEnabled(false);
            box->setAccessibleDescription(QStringLiteral("A file holds no clock"));
        }
        layout->addWidget(box, (c - 1) % 7, (c - 1) / 7); // in the warning's order, down two columns
        boxes[c] = box;
    }
    return group;
}

QGroupBox *configurationBoxes(QCheckBox **boxes, QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral("Display configurations"), parent);
    group->setObjectName(QStringLiteral("fraConfigurations"));
    auto *layout = new QGridLayout(group);
    for (int n = 1; n <= 16; ++n) {
        auto *box = new QCheckBox(QString::number(n), group);
        box->setObjectName(QStringLiteral("chkConfiguration%1").arg(n));
        box->setAccessibleName(QStringLiteral("Display configuration %1").arg(n));
        box->setChecked(true);
        layout->addWidget(box, (n - 1) / 4, (n - 1) % 4);
        boxes[n] = box;
    }
    return group;
}
} // namespace

TakePartsWindow::TakePartsWindow(Prompts &prompts, const ConfigImage &editor, const ConfigImage &file,
                                 const QString &fileTitle, QWidget *parent)
    : QDialog(parent), m_editor(editor), m_file(file), m_result(editor), m_fileTitle(fileTitle)
{
    setObjectName(QStringLiteral("TakePartsWindow"));
    setWindowTitle(QStringLiteral("Take Parts of %1").arg(fileTitle));
    setAccessibleName(windowTitle());

    // The boxes scroll where the screen is too small to show them above the list.
    auto *choicesPanel = new QWidget;
    auto *choices = new QHBoxLayout(choicesPanel);
    choices->setContentsMargins(0, 0, 0, 0);
    choices->addWidget(categoryBoxes(m_categories, choicesPanel));
    choices->addWidget(configurationBoxes(m_configurations, choicesPanel), 0, Qt::AlignTop);
    choices->addStretch(1);
    auto *choicesArea = new FittingScrollArea(choicesPanel, this);
    choicesArea->setObjectName(QStringLiteral("scrParts"));
    choicesArea->setAccessibleName(QStringLiteral("Parts to take"));
    choicesArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // The compare window itself, inside this one: its list and Save button.
    m_compare = new CompareWindow(prompts, this);
    m_compare->setWindowFlags(Qt::Widget);
    if (auto *close = m_compare->findChild<QPushButton *>(QStringLiteral("cmdClose")))
        close->hide();

    m_applyButton = new QPushButton(QStringLiteral("&Apply"), this);
    m_applyButton->setObjectName(QStringLiteral("cmdApply"));
    m_applyButton->setAccessibleName(QStringLiteral("Apply the changes shown"));
    m_applyButton->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(m_applyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_applyButton);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choicesArea);
    layout->addWidget(m_compare, 1);
    layout->addLayout(buttons);

    for (int c = 1; c <= fields::kLastCategory; ++c)
        connect(m_categories[c], &QCheckBox::toggled, this, &TakePartsWindow::update);
    for (int n = 1; n <= 16; ++n)
        connect(m_configurations[n], &QCheckBox::toggled, this, &TakePartsWindow::update);
    update();
    const QSize wanted(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 150, fontMetrics().height() * 36);
    if (!screen()) {
        resize(wanted);
        return;
    }
    // The whole window, its frame included, on the screen: on a small one the boxes keep
    // a third of it, the list of changes the rest.
    const QSize available = screen()->availableGeometry().size().shrunkBy(twips::frameMargins(this));
    choicesArea->setMinimumHeight(std::min(choicesArea->sizeHint().height(), available.height() / 3));
    resize(wanted.boundedTo(available));
}

fields::Parts TakePartsWindow::parts() const
{
    fields::Parts parts;
    for (int c = 1; c <= fields::kLastCategory; ++c)
        parts.categories[size_t(c)] = m_categories[c]->isChecked();
    for (int n = 1; n <= 16; ++n)
        parts.configurations[size_t(n)] = m_configurations[n]->isChecked();
    return parts;
}

void TakePartsWindow::update()
{
    const bool displays = m_categories[fields::kDisplaysCategory]->isChecked();
    for (int n = 1; n <= 16; ++n)
        m_configurations[n]->setEnabled(displays);
    m_result = fields::takeParts(m_editor, m_file, parts());
    m_compare->compare(m_editor, QStringLiteral("Editor"), m_result, m_fileTitle);
    m_applyButton->setEnabled(m_compare->differenceCount() > 0);
}

void takePartsOfFile(FileController &files, Prompts &prompts, const EditorState &state, ImageHistory &history,
                     QWidget *window, std::function<void(const ConfigImage &)> restore)
{
    if (files.imageLocked && files.imageLocked())
        return;
    const QString path =
        prompts.openFile(QStringLiteral("Take parts of configuration file:"), QStringLiteral("Files (*.CFG)| *.CFG"));
    if (path.isEmpty())
        return;
    ConfigFileImage file;
    if (!files.readConfigOrTell(path, QStringLiteral("Take Parts of a File"), file))
        return;
    history.checkpoint(); // what the user did before is a step of its own
    const QString name = QFileInfo(path).fileName();
    auto *dialog = new TakePartsWindow(prompts, ConfigImage::of(state), ConfigImage::of(file), name, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QDialog::accepted, window, [dialog, &history, &files, name, restore] {
        if (files.imageLocked && files.imageLocked())
            return;
        restore(dialog->result());
        history.recordAs(QStringLiteral("Take Parts of %1").arg(name), false);
    });
    dialog->open();
}
