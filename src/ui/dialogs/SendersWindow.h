// The sender window: chooses the five sender types and edits the five user-defined calibration curves in a grid.
#pragma once

#include "core/SenderLists.h"

#include <QWidget>

struct EditorState;
class ImageModel;
class Prompts;
class ChartWindow;
class CurveGrid;
class FieldMarks;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

class SendersWindow : public QWidget
{
    Q_OBJECT
public:
    // Curves, sender types and units are read and written through `image`; `state` keeps
    // the curve being edited and the list positions.
    SendersWindow(EditorState &state, ImageModel &image, Prompts &prompts, QWidget *parent = nullptr);

    // The "Sender Curves" menu item: places the window at top 500, left 2500 twips
    // and shows it without blocking the main window.
    void open();
    // Selects the list positions held in state.senderPositions (a position a list
    // does not have selects "0:  None"). Hook for EditorState::onSenderPositionsChanged.
    void positionListsFromState();
    // The image was replaced under the window (file, download, undo): the grid shows
    // the loaded curve's stored points again; nothing is written back.
    void showImage();
    // The same as showImage(), for callers that refresh the window themselves.
    void showStoredCurve() { showImage(); }

    // Marks the sender lists, the Edit buttons and the grid's points that differ from the
    // reference of `marks`.
    void setFieldMarks(FieldMarks *marks);

    // Unit state of the settings menu ("Bars", "Deg. C"): sets the unit labels and,
    // when the loaded curve is shown in that unit, shows its values in the new one.
    void setPressureInBars(bool bars);
    void setTemperatureInCelsius(bool celsius);
    bool pressureInBars() const { return m_bars; }
    bool temperatureInCelsius() const { return m_celsius; }

    // The curve "View Graph" plots; 0 until an Edit button was pressed.
    int graphCurveNumber() const { return m_graphCurveNumber; }
    // The chart window, created the first time "View Graph" is pressed.
    ChartWindow *chartWindow() const { return m_chart; }
    // Text of grid cell (row, col) in the designed numbering: row 0 the headings,
    // rows 1..32 the points.
    QString gridText(int row, int col) const;

public slots:
    void onEditCurve6Clicked();
    void onEditCurve9Clicked();
    void onEditCurve16Clicked();
    void onEditCurve19Clicked();
    void onEditCurve25Clicked();
    void onSendersViewClicked();
    void onSendersExitClicked();
    // One typed character for the grid's current cell; 8 is Backspace.
    void onGridKeyPress(int keyAscii);
    void onEngineTempSenderFocusIn();
    void onFuelSenderFocusIn();
    void onOilPressureSenderFocusIn();
    void onTrimSenderFocusIn();
    void on2ndTankSenderFocusIn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QComboBox *makeSenderList(senderlists::SenderList list, const QString &name);
    QComboBox *listFor(senderlists::SenderList list) const;
    QLabel *makeLabel(const QString &caption, const QString &name, QWidget *buddy);
    QPushButton *makeButton(const QString &caption, const QString &name, int widthTwips);
    void buildGrid();
    QLayout *buildLayout();

    void loadCurve(int curve, int leftTwips);
    void showValueColumn();
    void storeBack();
    void placeGrid();
    int gridWidth() const;
    bool curveLoaded() const;
    QString curveName(int curve) const;
    void updateOpenChart();

    EditorState &m_state;
    ImageModel &m_image;
    Prompts &m_prompts;
    ChartWindow *m_chart = nullptr;
    bool m_bars = false;
    bool m_celsius = false;
    int m_graphCurveNumber = 0;
    int m_gridLeftTwips = 270;
    QGridLayout *m_layout = nullptr;

    QLabel *m_engineTempLabel;
    QComboBox *m_engineTempList;
    QLabel *m_fuelSenderLabel;
    QComboBox *m_fuelSenderList;
    QLabel *m_oilPressureLabel;
    QComboBox *m_oilPressureList;
    QLabel *m_trimLabel;
    QComboBox *m_trimList;
    QLabel *m_secondTankLabel;
    QComboBox *m_secondTankList;

    QGroupBox *m_unitsGroup;
    QLabel *m_pressureUnitLabel;
    QLabel *m_temperatureUnitLabel;

    QGroupBox *m_editCurvesGroup;
    QPushButton *m_editEngineTempButton;
    QPushButton *m_editFuelButton;
    QPushButton *m_editOilPressureButton;
    QPushButton *m_editTrimButton;
    QPushButton *m_editSecondTankButton;

    QGroupBox *m_commandsGroup;
    QPushButton *m_viewGraphButton;
    QPushButton *m_exitButton;

    // Not in the layout: it drops over the lists at the left edge of the curve being edited.
    CurveGrid *m_curveGrid;
};
