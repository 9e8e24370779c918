// "Instrument History": the instruments in the archive, an instrument's entries
// newest first, and from there a comparison, a saved .CFG, an entry opened in the
// editor or uploaded again, or a synchronisation with the workshop repository.
#pragma once

#include "archive/Archive.h"

#include <QWidget>
#include <functional>

class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class InstrumentHistoryWindow : public QWidget
{
    Q_OBJECT
public:
    // Shows a comparison (the editor's compare window).
    using ShowComparison = std::function<void(const ConfigImage &before, const QString &beforeTitle,
                                              const ConfigImage &after, const QString &afterTitle)>;

    InstrumentHistoryWindow(Prompts &prompts, ShowComparison showComparison, std::function<ConfigImage()> editorImage,
                            QWidget *parent = nullptr);

    // Whether the editor's image has changes not saved.
    std::function<bool()> editorModified;
    // Makes `image` the editor's image, from `source` ("Instrument 61231042, entry of
    // 2026-05-01 09:00"), as one undo step not saved; false when it could not.
    std::function<bool(const ConfigImage &image, const QString &source)> openInEditor;
    // Starts the editor's upload of its image (its warning, "Compare first…").
    std::function<void()> uploadEditor;

    // Reads the archive named by the settings again.
    void reload();

public slots:
    // An entry was recorded: shown at once while the window is open, the chosen
    // instrument and entries kept.
    void entryRecorded();
    void onCompareWithPreviousClicked();
    void onCompareTwoClicked();
    void onCompareWithEditorClicked();
    void onSaveAsClicked();
    void onOpenInEditorClicked();
    void onUploadClicked();
    void onSynchroniseClicked();
    void onSettingsClicked();

private:
    void showInstruments();
    void showEntries();
    void updateButtons();
    QString chosenSerial() const;
    QStringList chosenEntries() const; // newest first
    // An entry's image; tells the problem and answers false when it cannot be read.
    bool entryImage(const QString &id, archive::HistoryImage &out);
    void tell(const QString &problem);
    // The chosen entry opened in the editor, after saying what it does not know and
    // that changes not saved are replaced; false when it was not.
    bool openChosenInEditor();
    void buildButtons();

    Prompts &m_prompts;
    ShowComparison m_showComparison;
    std::function<ConfigImage()> m_editorImage;
    archive::Archive m_archive;
    QList<archive::InstrumentSummary> m_instrumentList;
    QList<archive::Entry> m_entryList;

    QLineEdit *m_filter;
    QTreeWidget *m_instruments;
    QTreeWidget *m_entries;
    QLabel *m_status;
    QPushButton *m_compareWithPrevious, *m_compareTwo, *m_compareWithEditor, *m_saveAs, *m_openInEditor, *m_upload,
        *m_synchronise, *m_settings, *m_close;
};
