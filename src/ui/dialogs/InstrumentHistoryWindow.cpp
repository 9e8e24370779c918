#include "ui/dialogs/InstrumentHistoryWindow.h"

#include "archive/ArchiveSettings.h"
#include "core/ConfigFile.h"
#include "core/Prompts.h"
#include "ui/dialogs/ArchiveSettingsDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <thread>

namespace
{
const QString kTitle = QStringLiteral("Instrument History");
const char kFileFilter[] = "Configuration Files (*.CFG)| *.CFG";

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &accessible)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(accessible);
    return b;
}

QTreeWidget *makeList(QWidget *parent, const char *name, const QString &accessible, const QStringList &headings)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(accessible);
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

QString shownTime(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// "12 fields" since the entry before, or "-".
QString changedText(int fields)
{
    return fields < 0 ? QStringLiteral("-") : QString::number(fields);
}
} // namespace

InstrumentHistoryWindow::InstrumentHistoryWindow(Prompts &prompts, ShowComparison showComparison,
                                                 std::function<ConfigImage()> editorImage, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_showComparison(std::move(showComparison)),
      m_editorImage(std::move(editorImage)), m_archive(archive::Settings::load().archiveFolder())
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("InstrumentHistoryWindow"));
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter the instruments"));
    m_filter->setPlaceholderText(QStringLiteral("Filter: serial number, product code or version"));
    m_filter->setClearButtonEnabled(true);
    m_instruments = makeList(this, "lstInstruments", QStringLiteral("Instruments"),
                             {QStringLiteral("Serial number"), QStringLiteral("Product"), QStringLiteral("Software"),
                              QStringLiteral("Hardware"), QStringLiteral("Last seen"), QStringLiteral("Entries")});
    m_entries = makeList(this, "lstEntries", QStringLiteral("Entries, newest first"),
                         {QStringLiteral("Time"), QStringLiteral("Operation"), QStringLiteral("Outcome"),
                          QStringLiteral("Who"), QStringLiteral("Fields changed")});
    m_entries->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setAccessibleName(QStringLiteral("Archive status"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_instruments, 2);
    layout->addWidget(m_entries, 3);
    buildButtons();
    resize(760, 560);

    connect(m_filter, &QLineEdit::textChanged, this, [this] { showInstruments(); });
    connect(m_instruments, &QTreeWidget::itemSelectionChanged, this, [this] { showEntries(); });
    connect(m_entries, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    // Enter goes from the filter to the instruments, and from an instrument to its
    // entries; on an entry (or a double click) it compares it with the one before.
    connect(m_filter, &QLineEdit::returnPressed, m_instruments, qOverload<>(&QWidget::setFocus));
    connect(m_instruments, &QTreeWidget::itemActivated, m_entries, [this] {
        m_entries->setFocus();
        if (m_entries->topLevelItemCount() > 0)
            m_entries->setCurrentItem(m_entries->topLevelItem(0));
    });
    connect(m_entries, &QTreeWidget::itemActivated, this, [this] {
        if (m_compareWithPrevious->isEnabled())
            onCompareWithPreviousClicked();
        else if (m_compareWithEditor->isEnabled())
            onCompareWithEditorClicked();
    });
    auto *escape = new QShortcut(QKeySequence::Cancel, this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    reload();
}

void InstrumentHistoryWindow::buildButtons()
{
    m_compareWithPrevious = makeButton(this, "cmdComparePrevious", QStringLiteral("Compare with &Previous"),
                                       QStringLiteral("Compare the entry with the one before"));
    m_compareTwo = makeButton(this, "cmdCompareTwo", QStringLiteral("Compare &Two"),
                              QStringLiteral("Compare the two chosen entries"));
    m_compareWithEditor = makeButton(this, "cmdCompareEditor", QStringLiteral("Compare with &Editor"),
                                     QStringLiteral("Compare the entry with the editor's configuration"));
    m_openInEditor = makeButton(this, "cmdOpenInEditor", QStringLiteral("&Open in Editor"),
                                QStringLiteral("Open the entry in the editor"));
    m_upload = makeButton(this, "cmdUploadVersion", QStringLiteral("&Upload this version…"),
                          QStringLiteral("Upload this version to the instrument"));
    m_saveAs = makeButton(this, "cmdSaveAs", QStringLiteral("&Save As…"),
                          QStringLiteral("Save the entry as a configuration file"));
    m_synchronise = makeButton(this, "cmdSynchronise", QStringLiteral("S&ynchronise"),
                               QStringLiteral("Synchronise with the workshop repository"));
    m_settings =
        makeButton(this, "cmdSettings", QStringLiteral("Se&ttings…"), QStringLiteral("Instrument archive settings"));
    m_close = makeButton(this, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close"));

    auto *compareButtons = new QHBoxLayout;
    for (QPushButton *b : {m_compareWithPrevious, m_compareTwo, m_compareWithEditor})
        compareButtons->addWidget(b);
    compareButtons->addStretch();
    auto *entryButtons = new QHBoxLayout;
    for (QPushButton *b : {m_openInEditor, m_upload, m_saveAs})
        entryButtons->addWidget(b);
    entryButtons->addStretch();
    auto *windowButtons = new QHBoxLayout;
    for (QPushButton *b : {m_synchronise, m_settings})
        windowButtons->addWidget(b);
    windowButtons->addStretch();
    windowButtons->addWidget(m_close);
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->addLayout(compareButtons);
    layout->addLayout(entryButtons);
    layout->addWidget(m_status);
    layout->addLayout(windowButtons);

    connect(m_compareWithPrevious, &QPushButton::clicked, this, &InstrumentHistoryWindow::onCompareWithPreviousClicked);
    connect(m_compareTwo, &QPushButton::clicked, this, &InstrumentHistoryWindow::onCompareTwoClicked);
    connect(m_compareWithEditor, &QPushButton::clicked, this, &InstrumentHistoryWindow::onCompareWithEditorClicked);
    connect(m_openInEditor, &QPushButton::clicked, this, &InstrumentHistoryWindow::onOpenInEditorClicked);
    connect(m_upload, &QPushButton::clicked, this, &InstrumentHistoryWindow::onUploadClicked);
    connect(m_saveAs, &QPushButton::clicked, this, &InstrumentHistoryWindow::onSaveAsClicked);
    connect(m_synchronise, &QPushButton::clicked, this, &InstrumentHistoryWindow::onSynchroniseClicked);
    connect(m_settings, &QPushButton::clicked, this, &InstrumentHistoryWindow::onSettingsClicked);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
}

void InstrumentHistoryWindow::reload()
{
    m_archive = archive::Archive(archive::Settings::load().archiveFolder());
    const auto answer = m_archive.instruments();
    m_instrumentList = answer.value;
    tell(answer.problem);
    if (answer.ok() && m_instrumentList.isEmpty())
        tell(QStringLiteral("The archive in %1 holds no entries yet.").arg(shownPath(m_archive.folder())));
    showInstruments();
}

void InstrumentHistoryWindow::entryRecorded()
{
    if (isVisible())
        reload();
}

void InstrumentHistoryWindow::showInstruments()
{
    const QString serial = chosenSerial();
    const QString filter = m_filter->text().trimmed();
    // The chosen instrument's entries are read once the list is whole, not on the way.
    QSignalBlocker blocker(m_instruments);
    m_instruments->clear();
    for (const archive::InstrumentSummary &i : m_instrumentList) {
        // Units whose serial number reads 0 are each kept apart: the list says why.
        const QString shownSerial =
            i.serialNumber == QLatin1String("0") ? QStringLiteral("0 (erased)") : i.serialNumber;
        const QStringList columns{shownSerial,       QString::number(i.productCode), i.softwareVersion,
                                  i.hardwareVersion, shownTime(i.lastSeen),          QString::number(i.entries)};
        if (!filter.isEmpty() && !columns.mid(0, 4).join(QLatin1Char(' ')).contains(filter, Qt::CaseInsensitive))
            continue;
        auto *item = new QTreeWidgetItem(m_instruments, columns);
        item->setData(0, Qt::UserRole, i.serialNumber);
        if (i.serialNumber == serial)
            m_instruments->setCurrentItem(item);
    }
    if (m_instruments->selectedItems().isEmpty() && m_instruments->topLevelItemCount() > 0)
        m_instruments->setCurrentItem(m_instruments->topLevelItem(0));
    blocker.unblock();
    showEntries();
}

void InstrumentHistoryWindow::showEntries()
{
    const QStringList chosen = chosenEntries(); // kept when the list is read again
    QSignalBlocker blocker(m_entries);
    m_entries->clear();
    m_entryList.clear();
    const QString serial = chosenSerial();
    if (!serial.isEmpty()) {
        const auto answer = m_archive.entries(serial);
        tell(answer.problem);
        m_entryList = answer.value;
    }
    for (const archive::Entry &e : m_entryList) {
        auto *item = new QTreeWidgetItem(
            m_entries, {shownTime(e.about.time), e.about.operation, archive::outcomeName(e.about.outcome),
                        QStringLiteral("%1 on %2").arg(e.about.user, e.about.host), changedText(e.fieldsChanged)});
        item->setData(0, Qt::UserRole, e.id);
        item->setToolTip(0, QStringLiteral("Known: %1").arg(e.about.known.describe()));
        if (chosen.contains(e.id)) {
            if (m_entries->selectedItems().isEmpty())
                m_entries->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            item->setSelected(true);
        }
    }
    // Otherwise the newest is chosen, and the keys move on from it.
    if (m_entries->selectedItems().isEmpty() && m_entries->topLevelItemCount() > 0)
        m_entries->setCurrentItem(m_entries->topLevelItem(0));
    blocker.unblock();
    updateButtons();
}

void InstrumentHistoryWindow::updateButtons()
{
    const QStringList chosen = chosenEntries();
    const bool one = chosen.size() == 1;
    m_compareWithPrevious->setEnabled(one && chosen.first() != m_entryList.value(m_entryList.size() - 1).id);
    m_compareTwo->setEnabled(chosen.size() == 2);
    m_compareWithEditor->setEnabled(one && m_editorImage);
    m_saveAs->setEnabled(one);
    m_openInEditor->setEnabled(one);
    m_upload->setEnabled(one);
}

QString InstrumentHistoryWindow::chosenSerial() const
{
    const QList<QTreeWidgetItem *> chosen = m_instruments->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->data(0, Qt::UserRole).toString();
}

QStringList InstrumentHistoryWindow::chosenEntries() const
{
    QStringList ids;
    for (int i = 0; i < m_entries->topLevelItemCount(); ++i)
        if (m_entries->topLevelItem(i)->isSelected())
            ids << m_entries->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return ids;
}

bool InstrumentHistoryWindow::entryImage(const QString &id, archive::HistoryImage &out)
{
    const auto answer = m_archive.image(chosenSerial(), id);
    tell(answer.problem);
    out = answer.value;
    return answer.ok();
}

void InstrumentHistoryWindow::tell(const QString &problem)
{
    m_status->setText(problem);
    m_status->setAccessibleDescription(problem); // what a screen reader says of the status
}

void InstrumentHistoryWindow::onCompareWithPreviousClicked()
{
    const QStringList chosen = chosenEntries();
    for (int i = 0; i + 1 < m_entryList.size() && chosen.size() == 1; ++i)
        if (m_entryList.at(i).id == chosen.first()) {
            archive::HistoryImage before, after;
            if (entryImage(m_entryList.at(i + 1).id, before) && entryImage(chosen.first(), after))
                m_showComparison(before.image,
                                 shownTime(before.entry.about.time) + QLatin1Char(' ') + before.entry.about.operation,
                                 overlay(before.image, after.image, before.known & after.known),
                                 shownTime(after.entry.about.time) + QLatin1Char(' ') + after.entry.about.operation);
        }
}

void InstrumentHistoryWindow::onCompareTwoClicked()
{
    const QStringList chosen = chosenEntries(); // newest first: the older is "before"
    archive::HistoryImage before, after;
    if (chosen.size() == 2 && entryImage(chosen.last(), before) && entryImage(chosen.first(), after))
        m_showComparison(before.image,
                         shownTime(before.entry.about.time) + QLatin1Char(' ') + before.entry.about.operation,
                         overlay(before.image, after.image, before.known & after.known),
                         shownTime(after.entry.about.time) + QLatin1Char(' ') + after.entry.about.operation);
}

void InstrumentHistoryWindow::onCompareWithEditorClicked()
{
    archive::HistoryImage entry;
    if (chosenEntries().size() == 1 && entryImage(chosenEntries().first(), entry))
        m_showComparison(entry.image,
                         shownTime(entry.entry.about.time) + QLatin1Char(' ') + entry.entry.about.operation,
                         overlay(entry.image, m_editorImage(), entry.known), QStringLiteral("Editor"));
}

void InstrumentHistoryWindow::onSaveAsClicked()
{
    archive::HistoryImage entry;
    if (chosenEntries().size() != 1 || !entryImage(chosenEntries().first(), entry))
        return;
    const QString path = m_prompts.saveFile(QStringLiteral("Save the entry as:"), QLatin1String(kFileFilter));
    if (path.isEmpty())
        return;
    EditorState state;
    entry.image.applyTo(state);
    const QString problem = writeConfigFile(state, path, entry.entry.about.time.toLocalTime());
    if (!problem.isEmpty())
        m_prompts.message(kTitle, QStringLiteral("%1 could not be written: %2.").arg(shownPath(path), problem),
                          Prompts::Icon::Exclamation);
    else if (!entry.known.whole())
        tell(QStringLiteral("Saved. Not known at that entry: %1.")
                 .arg(archive::Parts::all().without(entry.known).describe()));
}

void InstrumentHistoryWindow::onSynchroniseClicked()
{
    const QString workshop = archive::Settings::load().workshop;
    if (workshop.isEmpty()) {
        tell(QStringLiteral("No workshop repository is set: choose one in Settings."));
        return;
    }
    // The network may take its time-outs: the window stays responsive meanwhile.
    m_synchronise->setEnabled(false);
    tell(QStringLiteral("Synchronising with %1…").arg(workshop));
    std::thread([archive = m_archive, workshop, window = QPointer<InstrumentHistoryWindow>(this)] {
        const auto answer = archive.synchronise(workshop);
        QMetaObject::invokeMethod(qApp, [window, workshop, answer] {
            if (!window)
                return;
            window->m_synchronise->setEnabled(true);
            window->reload();
            window->tell(answer.ok() ? QStringLiteral("Synchronised with %1: %2 entries received, %3 sent.")
                                           .arg(workshop)
                                           .arg(answer.value.received)
                                           .arg(answer.value.sent)
                                     : answer.problem);
        });
    }).detach();
}

void InstrumentHistoryWindow::onSettingsClicked()
{
    ArchiveSettingsDialog dialog(m_prompts, archive::Settings::load(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.settings().save();
    reload();
}

bool InstrumentHistoryWindow::openChosenInEditor()
{
    archive::HistoryImage entry;
    if (!openInEditor || chosenEntries().size() != 1 || !entryImage(chosenEntries().first(), entry))
        return false;
    // What no entry up to this one knew is never made up: the user hears which parts
    // hold only what the entry kept, and that the editor's changes are replaced.
    QStringList cautions;
    if (!entry.known.whole())
        cautions << QStringLiteral("Not known at that entry: %1. The editor would hold the bytes the entry kept "
                                   "for them, which need not be what the instrument held.")
                        .arg(archive::Parts::all().without(entry.known).describe());
    if (editorModified && editorModified())
        cautions << QStringLiteral("The configuration in the editor has changes not saved. Edit › Undo gives it back.");
    if (!cautions.isEmpty() && m_prompts.askYesNo(kTitle,
                                                  cautions.join(QStringLiteral("\r\n\r\n")) +
                                                      QStringLiteral("\r\n\r\nOpen the entry in the editor?"),
                                                  Prompts::Icon::Question) != kYes)
        return false;
    ConfigImage image = entry.image;
    image.comPort = ConfigImage::kPortNotKnown; // the port is this PC's, not the instrument's
    const QString source =
        QStringLiteral("Instrument %1, entry of %2").arg(chosenSerial(), shownTime(entry.entry.about.time));
    return openInEditor(image, source);
}

void InstrumentHistoryWindow::onOpenInEditorClicked()
{
    if (openChosenInEditor())
        tell(QStringLiteral("Opened in the editor."));
}

void InstrumentHistoryWindow::onUploadClicked()
{
    if (openChosenInEditor() && uploadEditor)
        uploadEditor();
}
