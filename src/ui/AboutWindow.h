// The About window: program version and the identity of the last connected instrument.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
struct EditorState;

class AboutWindow : public QWidget
{
    Q_OBJECT
public:
    explicit AboutWindow(EditorState &state, QWidget *parent = nullptr);

public slots:
    // Fills the four fields from the state; runs every time the window is shown.
    void showIdentity();

protected:
    void showEvent(QShowEvent *event) override;

private:
    EditorState &m_state;
    QLineEdit *m_programVersionBox;
    QLineEdit *m_serialNumberBox;
    QLineEdit *m_softwareVersionBox;
    QLineEdit *m_hardwareVersionBox;
    QLabel *m_descriptionLabel;
};
