// The "View/Set Display Damping" window: shows and sets the damping value of each damping function.
#pragma once

#include <QPointer>
#include <QWidget>

class FieldMarks;
class ImageModel;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class DampingWindow : public QWidget
{
    Q_OBJECT
public:
    // Reads and writes its values through `image` and follows it when it is replaced.
    DampingWindow(ImageModel &image, Prompts &prompts, QWidget *parent = nullptr);

    // The "Display Damping" menu item: shows the selected function's stored value
    // (the image may have been replaced meanwhile) and shows the window.
    void open();
    // Start-up: selects "NMEA Channel 2A" and shows byte 105.
    void showStartUpValues();
    // The image was replaced (file, download, undo): shows the selected function's value
    // as stored, limits and all, and writes nothing back.
    void showImage();
    // The value box carries the mark while the selected function's damping differs from
    // the reference of `marks`, and so does each function in the open list. Called once.
    void setFieldMarks(FieldMarks *marks);

public slots:
    // The value box shows the selected function's damping (0 when none is selected).
    void showSelectedValue();
    void onActivated();
    void onDampingClicked();
    void onDampingValueChanged();
    void onExitDampingClicked();

protected:
    bool event(QEvent *event) override;

private:
    // The selected damping function (damping::kTable), or -1 when none is selected.
    int selectedFunction() const;
    void refresh(const QString &textWhenNoneSelected);
    // Names the selected function's field for the value box's mark.
    void markValue();

    ImageModel &m_image;
    QPointer<FieldMarks> m_marks;
    QLabel *m_functionLabel;
    QComboBox *m_functionList;
    QLabel *m_valueLabel;
    QLineEdit *m_valueBox;
    QPushButton *m_doneButton;
};
