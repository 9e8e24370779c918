// The instrument area of the main window: the connection bar (indicator, port, serial
// number, Upload and Download), the transfers and other operations the window starts,
// and the window's part of what those operations show.
#pragma once

#include "link/InstrumentView.h"

#include <QObject>
#include <functional>

class AboutWindow;
class ClickLabel;
class FactoryWindow;
class FillShape;
class LinkWindows;
class NmeaMonitorWindow;
class OperationRunner;
class Prompts;
class QLabel;
class QPushButton;
class QWidget;
class WarningQuestion;
struct ConfigImage;
struct EditorState;

class InstrumentController : public QObject, public InstrumentView
{
    Q_OBJECT
public:
    InstrumentController(EditorState &state, Prompts &prompts, QObject *parent = nullptr);

    QWidget *buildConnectionBar(QWidget *parent);
    // The operations and the windows they use, made by the main window.
    struct Parts {
        OperationRunner *runner;
        LinkWindows *linkWindows;
        WarningQuestion *warning;
        AboutWindow *about;
        FactoryWindow *factory;
        NmeaMonitorWindow *monitor;
    };
    void attach(const Parts &parts);

    // An operation that uses the image starts (true) or ended (false).
    std::function<void(bool locked)> onImageLocked;
    // Any operation ended.
    std::function<void()> onOperationEnded;
    // A download was started: what it brings becomes one undo step.
    std::function<void()> onDownloadStarted;
    // Whether an upload reads the instrument back afterwards.
    std::function<bool()> verifyAfterUpload;
    // Shows what changes from one image to another.
    std::function<void(const ConfigImage &, const QString &, const ConfigImage &, const QString &)> showComparison;

    // Runs `body` as an instrument operation; one that `locksImage` disables everything
    // that edits the image while it runs.
    void run(const std::function<void()> &body, bool locksImage = true);
    bool transferRunning() const { return m_transferRunning; }

    void upload();
    void download();
    void compareWithInstrument();
    void createBackup();
    void restoreBackup();
    void choosePort();
    // The connection label, clicked: the factory window, once armed.
    void openFactoryWindowIfArmed();
    void startNmeaMonitor();
    // The indicator and its text follow the link's state.
    void updateIndicator();
    void showPortNumber(int port);
    QList<QWidget *> tabOrder() const;

    // InstrumentView: the main window's part of what instrument operations show.
    void setCommsPortLabel(const QString &text) override;
    void setConnectedLabel(const QString &text) override;
    void setSerialNumberLabel(const QString &text) override;
    void showIdentity() override;
    void showUnitVersions() override;
    void showProductCode(int code) override;
    void showNewConfigCount(int count) override;

private:
    void operationFinished();
    bool confirmWarning(const QString &title, const QString &text);

    EditorState &m_state;
    Prompts &m_prompts;
    Parts m_parts{};
    bool m_transferRunning = false;

    FillShape *m_indicator = nullptr;
    ClickLabel *m_connected = nullptr;
    QLabel *m_port = nullptr, *m_serialNumber = nullptr;
    QPushButton *m_upload = nullptr, *m_download = nullptr;
};
