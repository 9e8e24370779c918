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

    QLineEdit *txtPcSoftwareVer;
    QLineEdit *txtTessaroSN;
    QLineEdit *txtTessaroSwVer;
    QLineEdit *txtTessaroHwVer;
    QLabel *lblMnuAbout;

public slots:
    // Fills the four fields from the state; runs every time the window is shown.
    void loadForm();

protected:
    void showEvent(QShowEvent *event) override;

private:
    EditorState &m_state;
};
