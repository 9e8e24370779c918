// "Instrument History": the instruments in the archive, an instrument's entries
// newest first, and from there a comparison, a saved .CFG or a synchronisation with
// the workshop repository.
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

    // Reads the archive named by the settings again.
    void reload();

public slots:
    void onCompareWithPreviousClicked();
    void onCompareTwoClicked();
    void onCompareWithEditorClicked();
    void onSaveAsClicked();
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
    QPushButton *m_compareWithPrevious, *m_compareTwo, *m_compareWithEditor, *m_saveAs, *m_synchronise, *m_settings,
        *m_close;
};
