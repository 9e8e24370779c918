// MainWindow, the main window: the instrument picture, the sixteen display configurations, data sources, limits and
// settings.
#pragma once

#include "core/EditorState.h"
#include "link/InstrumentView.h"
#include "ui/TransferWarning.h"
#include "ui/Twips.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class FaceController;
class SourcesController;
class CompareWindow;
class ImageHistory;
struct ConfigImage;
class BytePort;
class Clock;
class LinkWindows;
class PortResolver;
class SerialLink;
class AboutWindow;
class TransferWarning;

class DampingWindow;
class FactoryWindow;
class NmeaMonitorWindow;
class SendersWindow;
class TimeOfDayAlarmsWindow;
struct ConfigFileImage;
struct InstrumentContext;
class OperationRunner;
class SettingsMenu;
class ClickLabel;
class FillShape;
class Prompts;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class NmeaSelector;

class MainWindow : public QMainWindow, public InstrumentView
{
    Q_OBJECT
public:
    // `port` is the serial port to talk through; without one the main window opens
    // the system's serial ports itself.
    MainWindow(Prompts &prompts, Clock &clock, const QString &programFolder, BytePort *port = nullptr,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    EditorState &state() { return m_state; }
    Prompts &prompts() { return m_prompts; }
    Clock &clock() { return m_clock; }
    const QString &programFolder() const { return m_programFolder; }
    // The folder DEFAULT.CFG and the factory files live in (the program folder, or the
    // per-user data folder when the program folder cannot be written).
    const QString &workingFolder() const { return m_workingFolder; }

    // --- the link and the other windows (MainWindow_link.cpp, MainWindow_file.cpp) -------------
    SerialLink &link();
    LinkWindows &linkWindows() { return *m_linkWindows; }
    OperationRunner &operations() { return *m_runner; }
    // Whether an instrument operation (transfer, monitor, factory command) is running.
    bool operationRunning() const;
    AboutWindow *aboutWindow() const { return m_about; }
    SendersWindow *sendersWindow() const { return m_senders; }
    DampingWindow *dampingWindow() const { return m_damping; }
    TimeOfDayAlarmsWindow *todAlarmsWindow() const { return m_todAlarms; }
    NmeaMonitorWindow *nmeaMonitor() const { return m_nmeaData; }
    TransferWarning *warningWindow() const { return m_warning; }
    FactoryWindow *factoryWindow() const { return m_factory; }
    // Ends the program after ShutDownEditor; tests replace it.
    std::function<void()> endProgram;
    // Writes DEFAULT.CFG (ConfigFileName); a failure is reported. True when written.
    bool SaveConfigsFile();

    // --- history, comparison, recent files (MainWindow_history.cpp) ---------------------------
    // Undo and redo of every change to the image.
    ImageHistory &history() { return *m_history; }
    // Opens a configuration file as Open does (a bad file is reported and changes
    // nothing); used by Open, Recent Files, a dropped file and the command line.
    bool openConfigFile(const QString &path);
    // Reads a configuration file into `image`; a file that cannot be read is reported
    // under `title` and false returned.
    bool readConfigOrTell(const QString &path, const QString &title, ConfigFileImage &image);
    // Shows the compare window with what changes from `before` to `after`.
    void showComparison(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                        const QString &afterTitle);
    CompareWindow *compareWindow();
    // The recent files, newest first (at most 8).
    QStringList recentFiles() const;

    // InstrumentView: the main window's part of what instrument operations show.
    void setCommsPortLabel(const QString &text) override;
    void setConnectedLabel(const QString &text) override;
    void setSerialNumberLabel(const QString &text) override;
    void showIdentity() override;
    void showUnitVersions() override;
    void showProductCode(int code) override;
    void showNewConfigCount(int count) override;

    // --- hooks the integrator connects --------------------------------------------------
    // Unit labels of the sender window: true = bars / degrees C.
    std::function<void(bool bars)> onPressureUnitsChanged;
    std::function<void(bool celsius)> onTemperatureUnitsChanged;
    // The NMEA data monitor window (NmeaMonitorWindow): hide it (and stop it), and place it in twips.
    std::function<void()> hideNmeaMonitor;
    std::function<void(int topTwips, int leftTwips)> placeNmeaMonitor;

    // The NMEA sentence selector, created hidden on first use (its lists are filled then).
    NmeaSelector *nmeaSelector();
    bool hasNmeaSelector() const { return m_nmea != nullptr; }

    // --- the areas of the window ----------------------------------------------------------
    FaceController &faceArea() { return *m_face; }
    SourcesController &sourcesArea() { return *m_sources; }
    // The view redraw every editor runs after changing the image.
    void UpdateInstrumentDisplay();
    void ShowAlarmLimits();
    // Check marks of the Edit menu, the pointer pictures and the sender unit labels from system block bytes 1, 2, 7.
    void RefreshSettingsMenu();
    // Hides the NMEA sentence selector and the data monitor.
    void HideNmeaWindows();
    // Shows configuration `index` (0..15) as its button does.
    void showConfiguration(int index);

    // --- controls ------------------------------------------------------------------------
    // Menus.
    QMenu *mnuFile, *mnuEdit, *mnuHelp;
    QAction *New, *Open, *Save, *SaveAs, *Exit;
    QAction *CompareWithFile;
    QAction *ExportReport, *ExportPictures;
    QMenu *RecentFiles;
    // The instrument settings (units, clock, bar graph, tachometer) come from one table
    // (MainWindow_settings.cpp); their items keep their control names as object names.
    QMenu *Tacho = nullptr, *PullyRatio = nullptr;
    QAction *ViewDamping, *ViewMaintenanceAlarm, *Senders, *TessaroComPort, *ViewTodAlarms, *FuelTankSize, *Tank2Size,
        *ResetDefaults, *CreateBackup, *RestoreBackup;
    QAction *CompareWithInstrument, *VerifyAfterUpload;
    // The settings key of "Verify after Upload".
    static constexpr const char *kVerifyAfterUploadKey = "verifyAfterUpload";
    QAction *Contents, *About;

    // Connection, port and identification.
    QGroupBox *fraConnection, *fraComPort;
    ClickLabel *lblConnected;
    FillShape *shpCommsConnected;
    QLabel *lblCommsPort, *lblTessaroSN;
    QPushButton *cmdUpload, *cmdDownload;
    QTimer *Timer1;

public slots:
    // --- start-up, files, transfers and other windows (MainWindow_file.cpp, MainWindow_link.cpp) ---
    void loadForm();
    void unloadForm();
    void ShutDownEditor();
    void onNewTriggered();
    void onOpenTriggered();
    void onSaveTriggered();
    void onSaveAsTriggered();
    void onExitTriggered();
    void onCompareWithFileTriggered();
    void onCompareWithInstrumentTriggered();
    void onExportReportTriggered();   // MainWindow_report.cpp
    void onExportPicturesTriggered(); // MainWindow_report.cpp
    void onAboutTriggered();
    void onContentsTriggered();
    void onViewDampingTriggered();
    void onSendersTriggered();
    void onCommunicationsPortTriggered();
    void onViewTodAlarmsTriggered();
    void onResetDefaultsTriggered();
    void onCreateBackupTriggered();
    void onRestoreBackupTriggered();
    void onUploadClicked();
    void onDownloadClicked();
    void onConnectedLabelClicked();
    void updateConnectionIndicator();

    // The 500 ms timer: the focused display blinks, the connection indicator follows the link.
    void onConnectionTimer();

    // --- Edit menu (MainWindow_settings.cpp) -------------------------------------------------
    void onFuelTankSizeTriggered();
    void onTank2SizeTriggered();
    void onViewMaintenanceAlarmTriggered();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // MainWindow.cpp: construction and layout.
    void buildMenus();
    QWidget *buildConnectionBar();
    void setTabOrderChain();
    void setConfigCaptions(int config);
    // MainWindow_view.cpp: the face and the sources areas wired together.
    void connectAreas();

    // MainWindow_settings.cpp
    SettingsMenu *m_settings = nullptr; // the instrument settings of the Edit menu

    // MainWindow_history.cpp
    void createHistory();
    void addHistoryMenus();
    void watchDownloads();
    // Puts an image back (undo, redo) and redraws every window that shows it.
    void restoreImage(const ConfigImage &image);
    void fillRecentFilesMenu();
    void rememberRecentFile(const QString &path);
    bool imageLocked() const;

    // MainWindow_link.cpp / MainWindow_file.cpp
    void createLinkAndWindows(BytePort *port);
    void startNmeaMonitor();
    // New and the factory reset: start-up again, then the factory defaults, shown on configuration 1.
    void reloadWithDefaults();
    bool saveImageTo(const QString &path);
    // Runs `body` as an instrument operation (busy guard, lost port handled).
    // Runs an instrument operation under the busy guard; one that `locksImage`
    // disables everything that edits the image while it runs.
    void instrumentOperation(const std::function<void()> &body, bool locksImage = true);
    void setImageEditable(bool editable);
    // Closing during a transfer: asks, then cancels it and closes once it stopped.
    // True when nothing runs and the editor may close now.
    bool quitAfterTransfer();
    // An instrument operation ended: editing comes back; a close waiting for it goes on.
    void operationFinished();
    bool m_transferRunning = false;
    bool m_quitAfterTransfer = false;

    EditorState m_state;
    Prompts &m_prompts;
    Clock &m_clock;
    QString m_programFolder;
    QString m_workingFolder;
    NmeaSelector *m_nmea = nullptr;

    std::unique_ptr<BytePort> m_ownPort;
    std::unique_ptr<PortResolver> m_resolver;
    std::unique_ptr<LinkWindows> m_linkWindows;
    std::unique_ptr<OperationRunner> m_runner;
    std::unique_ptr<InstrumentContext> m_windowContext;
    AboutWindow *m_about = nullptr;
    SendersWindow *m_senders = nullptr;
    DampingWindow *m_damping = nullptr;
    TimeOfDayAlarmsWindow *m_todAlarms = nullptr;
    NmeaMonitorWindow *m_nmeaData = nullptr;
    TransferWarning *m_warning = nullptr;
    std::unique_ptr<WarningQuestion> m_warningQuestion;
    FactoryWindow *m_factory = nullptr;
    bool m_shutDown = false;
    ImageHistory *m_history = nullptr; // a child of the window
    CompareWindow *m_compare = nullptr;

    FaceController *m_face = nullptr;       // the face and icons area
    SourcesController *m_sources = nullptr; // the sources and limits area
    int m_captionConfig = 1;                // configuration the four captions name
};
