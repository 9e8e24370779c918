// Where the edited image differs from a reference, marked on the controls that edit it.
//
// The main window owns one FieldMarks. Its mode chooses the reference: Off (nothing is
// marked, every control looks and reads exactly as without marks), the factory
// defaults, the image as last saved or opened, or the image last read from the
// instrument (a download reads the settings alone: only their fields are compared).
// The marks are computed again at once on every change of the image (edits, undo,
// redo, files, operations).
//
// Any window marks a control by naming the fields it edits, by their names in the
// field table (fields::table()); nothing else says which bytes a control owns:
//
//     marks.attach(lowAlarmButton, {QStringLiteral("Engine Temp. · Low Alarm Limit")});
//     marks.attach(menuItem, {QStringLiteral("Fuel tank size")});
//
// While one of its fields differs, a widget carries a small diamond on its top right
// corner and its tooltip and accessible description gain a line "Default: 9999" /
// "Saved file: 250" / "Instrument: 120" after whatever they said before; a menu item's
// text gains the diamond and that line ("4 differences" for several fields), its
// status tip the lines. Its context menu (right click,
// the Menu key, Shift+F10) offers "Reset to Default", "Take from Saved File" and
// "Take from Instrument": that copies the control's differing fields' bits alone from
// the reference, as one undo step named after the field. When the field no longer
// differs, everything about the control is as it was.
//
// Attaching a control again replaces its fields (a control that shows the current
// configuration's value names that configuration's field); an empty list or detach()
// takes the mark off. A destroyed control is forgotten by itself.
//
// A window that draws marks of its own (cells of a grid) listens to changed() and asks
// differs() and referenceText() for each field it shows; putBack() puts a field back.
#pragma once

#include "core/ConfigImage.h"
#include "core/DifferenceMarks.h"
#include "link/OperationRecord.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ImageHistory;
class ImageModel;
class QAction;
class QMenu;
class QWidget;
struct EditorState;

class FieldMarks : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Off, Defaults, SavedFile, Instrument };

    // Put-backs go through `image` and are recorded by `history`; `restore` then shows
    // the image in every window (the main window's redraw of a whole image).
    FieldMarks(EditorState &state, ImageModel &image, ImageHistory &history,
               std::function<void(const ConfigImage &)> restore, QObject *parent = nullptr);
    ~FieldMarks() override;

    // --- the reference --------------------------------------------------------------------
    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // The image as the file was last saved or opened.
    void setSavedImage(const ConfigImage &image);
    // What an operation read of (or wrote to) the instrument, as far as `known` says.
    void setInstrumentImage(const ConfigImage &image, const ImageAreas &known);
    bool hasInstrumentImage() const { return m_known.any(); }
    // The reference image of `mode` as the current image is compared with it (the
    // instrument's settings alone leave the rest as the editor has it); none for Off
    // and for an instrument never read.
    std::optional<ConfigImage> reference(Mode mode) const;

    // --- what differs now -----------------------------------------------------------------
    // Empty (nothing differs) while the mode is Off.
    const fields::DifferenceMarks &differences() const { return m_marks; }
    bool differs(const QString &field) const { return m_marks.differs(field); }
    // "Default: 9999" for a field that differs; else empty.
    QString referenceText(const QString &field) const { return m_marks.referenceText(field); }
    // "from the factory defaults", "from the saved file", "from the instrument".
    static QString fromText(Mode mode);

    // --- marked controls ------------------------------------------------------------------
    void attach(QWidget *control, const QStringList &fields);
    void attach(QAction *item, const QStringList &fields);
    // A configuration button: marked while any field of configuration 1..16 differs,
    // with the count ("Configuration 3: 4 differences from the factory defaults").
    void attachConfiguration(QWidget *button, int configuration);
    void detach(QObject *control);
    // Whether a control carries a mark now.
    bool isMarked(const QObject *control) const;

    // --- put back -------------------------------------------------------------------------
    // Copies the bits of `fields` (those that differ) from the reference of `from` into
    // the image, as one undo step named after the field ("N changes" for several).
    // False when nothing was put back (no such reference, nothing differs, the image is
    // held by an instrument operation).
    bool putBack(const QStringList &fields, Mode from);
    // The put-back menu a marked control shows, for fields a window marks itself (a grid
    // cell): "Reset to Default", "Take from Saved File", "Take from Instrument", each
    // enabled when one of `fields` differs from that reference. It deletes itself.
    void showPutBackMenu(const QStringList &fields, const QPoint &globalPos, QWidget *parent);

    // Computes the marks again now (the model's signals do so by themselves).
    void refresh();

signals:
    // The marks were computed again, or the mode changed.
    void changed();
    void modeChanged(FieldMarks::Mode mode);
    // An image was read from the instrument: the instrument can be the reference now.
    void instrumentImageChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Mark;
    Mark *markOf(const QObject *control) const;
    Mark &add(QObject *control, QWidget *watched);
    void update(Mark &mark);
    void updateAll();
    QStringList differingFields(const QStringList &fields, Mode from) const;

    EditorState &m_state;
    ImageModel &m_image;
    ImageHistory &m_history;
    std::function<void(const ConfigImage &)> m_restore;
    Mode m_mode = Mode::Off;
    std::optional<ConfigImage> m_saved;
    ConfigImage m_instrument;
    ImageAreas m_known;        // the areas of m_instrument read from the instrument
    ConfigImage m_computedFor; // the image m_marks was computed for
    bool m_computed = false;   // m_marks holds marks of a reference
    bool m_stale = false;      // the reference changed since
    fields::DifferenceMarks m_marks;
    std::vector<std::unique_ptr<Mark>> m_controls;
};
