// The port chooser window: "None" or COM1..COM16, each with the device it opens.
#pragma once

#include <QWidget>
#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class PortResolver;
struct EditorState;

class PortChooser : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kPorts = 16;

    explicit PortChooser(EditorState &state, QWidget *parent = nullptr);

    // Where the device names shown beside the options come from (refreshed each
    // time the window is shown). Without one no device is shown.
    void setResolver(const PortResolver *resolver) { m_resolver = resolver; }
    // Selects option n (0 = "None"); a number without an option clears the selection.
    void selectPort(int n);
    // Index of the selected option, -1 when none is selected.
    int selectedPort() const;
    // Shows devices[n] beside option n (n = 1..16; empty: "no device").
    void setDevices(const QStringList &devices);

signals:
    // "COM Port = " and the accepted number, for the main window's lblCommsPort.
    void commsPortLabelChanged(const QString &text);
    // Accept was clicked; ComPortNumber already holds the choice.
    void portAccepted(int portNumber);
    // The window left the screen (Accept, its close box): a wait for a choice ends.
    void hidden();

public slots:
    // Selects the option of the port the state holds.
    void showStoredPort();
    void onCommsAcceptClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    EditorState &m_state;
    const PortResolver *m_resolver = nullptr;
    QButtonGroup *m_group;
    QLabel *m_promptLabel;
    std::array<QRadioButton *, kPorts + 1> m_options{};
    std::array<QLabel *, kPorts + 1> m_deviceLabels{};
    QPushButton *m_acceptButton;
};
