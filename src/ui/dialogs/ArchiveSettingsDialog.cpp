#include "ui/dialogs/ArchiveSettingsDialog.h"

#include "archive/Archive.h"
#include "core/Prompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ArchiveSettingsDialog::ArchiveSettingsDialog(Prompts &prompts, const archive::Settings &settings, QWidget *parent)
    : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("ArchiveSettingsDialog"));
    setWindowTitle(QStringLiteral("Instrument Archive Settings"));
    setAccessibleName(windowTitle());

    m_keep = new QCheckBox(QStringLiteral("&Keep an entry of every operation with an instrument"), this);
    m_keep->setObjectName(QStringLiteral("chkKeepArchive"));
    m_keep->setAccessibleName(QStringLiteral("Keep the instrument archive"));
    m_keep->setChecked(settings.keep);

    m_folder = new QLineEdit(QDir::toNativeSeparators(settings.archiveFolder()), this);
    m_folder->setObjectName(QStringLiteral("txtArchiveFolder"));
    m_folder->setAccessibleName(QStringLiteral("Archive folder"));
    auto *browse = new QPushButton(QStringLiteral("&Browse…"), this);
    browse->setObjectName(QStringLiteral("cmdBrowseArchiveFolder"));
    browse->setAccessibleName(QStringLiteral("Choose the archive folder"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = m_prompts.chooseFolder(QStringLiteral("Archive folder"));
        if (!chosen.isEmpty())
            m_folder->setText(QDir::toNativeSeparators(chosen));
    });
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);

    m_workshop = new QLineEdit(settings.workshop, this);
    m_workshop->setObjectName(QStringLiteral("txtWorkshopRepository"));
    m_workshop->setAccessibleName(QStringLiteral("Workshop repository"));
    m_workshop->setPlaceholderText(QStringLiteral("a folder on a network share, or ssh://user@server/path"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(m_keep);
    auto *folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("&Workshop repository:"), m_workshop);
    form->addRow(buttons);
    resize(560, sizeHint().height());
}

archive::Settings ArchiveSettingsDialog::settings() const
{
    archive::Settings s;
    s.keep = m_keep->isChecked();
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    s.folder = folder == archive::Archive::defaultFolder() ? QString() : folder;
    s.workshop = m_workshop->text().trimmed();
    return s;
}
