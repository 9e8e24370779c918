// The sender window's grid: the 32 points (ohms and value) of the calibration curve being
// edited, typed into cell by cell and stored as they are typed. Points that differ from
// the reference of the difference marks carry the mark in their Index cell, say the
// reference's point in their tooltip and description, and offer the put-back menu (right
// click, the Menu key, Shift+F10).
#pragma once

#include <QPointer>
#include <QTableWidget>

struct EditorState;
class FieldMarks;
class ImageModel;
class Prompts;

class CurveGrid : public QTableWidget
{
    Q_OBJECT
public:
    // The curve being edited is state.session.editCurveNumber (1..32; else none is).
    CurveGrid(EditorState &state, ImageModel &image, Prompts &prompts, QWidget *parent = nullptr);

    void setFieldMarks(FieldMarks *marks);
    // Width of the three columns, the frame and the scroll bar.
    int fullWidth() const;
    // Text of cell (row, col) in the designed numbering: row 0 the headings, rows 1..32 the points.
    QString text(int row, int col) const;

    // The units the values are shown and typed in; showValues() shows them in new units.
    void setUnits(bool celsius, bool bars);
    // Shows every point of the curve being edited as stored.
    void showCurve();
    // Shows the values alone again.
    void showValues();
    // Stores what cell (row, col) shows into the curve being edited.
    void storeCell(int row, int col);
    // Stores every point as shown.
    void storeAll();
    // One typed character for the current cell; 8 is Backspace.
    void typeKey(int keyAscii);

signals:
    // A point was typed into the curve being edited.
    void pointTyped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCell(int row, int col, const QString &text);
    bool curveLoaded() const;
    int curve() const;
    QString pointField(int row) const;
    void showMarks();
    bool showPutBackMenu(const QModelIndex &at, bool byKeyboard, const QPoint &globalPos);

    EditorState &m_state;
    ImageModel &m_image;
    Prompts &m_prompts;
    bool m_celsius = false;
    bool m_bars = false;
    QPointer<FieldMarks> m_marks;
};
