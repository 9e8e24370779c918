// NmeaSelector, the NMEA Sentence Selector: talker, sentence identifier and comma count of one NMEA data source.
#pragma once

#include "core/EditorState.h"
#include "ui/Twips.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

class FieldMarks;
class ImageModel;
class QComboBox;
class QLabel;
class QPushButton;

class NmeaSelector : public QDialog
{
    Q_OBJECT
public:
    // The selection bytes are read and written through `image`; `state` keeps which
    // source is open (nmea.selectionIndex, nmea.channel) and the monitor's state.
    NmeaSelector(EditorState &state, ImageModel &image, QWidget *parent = nullptr);

    // Set by the integrator: View Data starts the data monitor; Accept and Cancel stop it and hide its window.
    std::function<void()> onViewData;
    std::function<void()> onStopMonitor;

    // Fills the three lists once and selects their first entries (start-up, first run).
    void fillLists();

    // Opens the selector for NMEA data source s (1..8, #1A .. #4B): places it beside what opened
    // it (when given), loads the source's three bytes, sets nmea.selectionIndex and nmea.channel,
    // shows it without blocking.
    void openForSource(int s, const std::optional<twips::Beside> &where = std::nullopt);
    // The lists carry the mark while the open source's bytes differ from the reference of `marks`.
    void setFieldMarks(FieldMarks *marks);

public slots:
    void onNmeaAcceptClicked();
    void onNmeaCancelClicked();
    void onNmeaViewDataClicked();
    void reject() override; // Escape or the close box act as Cancel

signals:
    void viewDataRequested();

private:
    void stopMonitor();
    // The source open (1..8), from nmea.selectionIndex; 0 when none is.
    int openSource() const;
    // The lists show the source's stored bytes and name its fields for their marks.
    void showSource(int s);
    void markSource(int s);

    EditorState &m_state;
    ImageModel &m_image;
    QPointer<FieldMarks> m_marks;
    QLabel *m_talkerLabel, *m_identifierLabel, *m_commasLabel;
    QComboBox *m_talkerList, *m_identifierList, *m_commasList;
    QPushButton *m_acceptButton, *m_cancelButton, *m_viewDataButton;
};
