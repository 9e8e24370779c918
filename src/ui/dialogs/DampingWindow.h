// The "View/Set Display Damping" window: shows and sets the damping value of each damping function.
#pragma once

#include <QWidget>

struct EditorState;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class DampingWindow : public QWidget
{
    Q_OBJECT
public:
    DampingWindow(EditorState &state, Prompts &prompts, QWidget *parent = nullptr);

    // The "Display Damping" menu item: shows the selected function's stored value
    // (the image may have been replaced meanwhile) and shows the window.
    void open();
    // Start-up: selects "NMEA Channel 2A" and shows byte 105.
    void showStartUpValues();

public slots:
    void loadForm();
    void onActivated();
    void onDampingClicked();
    void onDampingValueChanged();
    void onExitDampingClicked();

protected:
    bool event(QEvent *event) override;

private:
    // The system block byte of the selected function, or -1 when none is selected.
    int selectedByte() const;
    void refresh(const QString &textWhenNoneSelected);

    EditorState &m_state;
    QLabel *m_functionLabel;
    QComboBox *m_functionList;
    QLabel *m_valueLabel;
    QLineEdit *m_valueBox;
    QPushButton *m_doneButton;
};
