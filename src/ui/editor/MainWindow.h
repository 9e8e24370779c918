// MainWindow, the main window: a shell around its areas (face and icons, sources and
// limits, the Edit menu's settings, files, the instrument) and the other windows.
#pragma once

#include "core/EditorState.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class AboutWindow;
class BytePort;
class Clock;
class DampingWindow;
class FaceController;
class FieldMarks;
class FactoryWindow;
class FileController;
class FittingScrollArea;
class ImageHistory;
class ImageModel;
class InstrumentController;
class LinkWindows;
class NmeaMonitorWindow;
class NmeaSelector;
class OperationRunner;
class PortResolver;
class Prompts;
class QAction;
class QMenu;
class QTimer;
class SendersWindow;
class SerialLink;
class SettingsMenu;
class SourcesController;
class TimeOfDayAlarmsWindow;
class TransferWarning;
class WarningQuestion;
struct ConfigImage;
struct InstrumentContext;
enum class ImageChange : quint8;

class MainWindow : public QMainWindow
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
    // Opens a file named on the command line: a relative name is looked up in the
    // folder the command was typed in, not in the working folder start-up makes current.
    bool openCommandLineFile(const QString &argument);

    // --- the areas of the window ----------------------------------------------------------
    FaceController &faceArea() { return *m_face; }
    SourcesController &sourcesArea() { return *m_sources; }
    FileController &fileArea() { return *m_file; }
    InstrumentController &instrumentArea() { return *m_instrument; }
    // The configuration image, edited through what its values mean.
    ImageModel &image() { return *m_image; }
    // Undo and redo of every change to the image.
    ImageHistory &history() { return *m_history; }
    // Marks on every window's controls where the image differs from a reference.
    FieldMarks &fieldMarks() { return *m_marks; }

    // --- the link and the other windows ---------------------------------------------------
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
    // The NMEA sentence selector, created hidden on first use (its lists are filled then).
    NmeaSelector *nmeaSelector();
    bool hasNmeaSelector() const { return m_nmea != nullptr; }

    // Ends the program after ShutDownEditor; tests replace it.
    std::function<void()> endProgram;
    // The NMEA data monitor window (NmeaMonitorWindow): hide it (and stop it), and place it in twips.
    std::function<void()> hideNmeaMonitor;
    std::function<void(int topTwips, int leftTwips)> placeNmeaMonitor;

    // --- the redraw -------------------------------------------------------------------------
    // The view redraw every editor runs after changing the image.
    void updateInstrumentDisplay();
    void showAlarmLimits();
    // Check marks of the Edit menu, the pointer pictures and the sender unit labels from system block bytes 1, 2, 7.
    void refreshSettingsMenu();
    // Hides the NMEA sentence selector and the data monitor.
    void hideNmeaWindows();
    // Shows configuration `index` (0..15) as its button does.
    void showConfiguration(int index);
    // Sizes the window for its designed layout, within the screen it is on: on a smaller
    // screen its content scrolls.
    void fitToScreen();

    // The settings key of "Verify after Upload".
    static constexpr const char *kVerifyAfterUploadKey = "verifyAfterUpload";

public slots:
    // Start-up: the state reset, the lists filled once, DEFAULT.CFG (or the defaults) loaded and shown.
    void startUp();
    void shutDownEditor();
    // The 500 ms timer: the focused display blinks, the connection indicator follows the link.
    void onConnectionTimer();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // MainWindow.cpp: construction, menus and layout.
    void buildMenus();
    void buildEditMenu();
    // "Instrument History…": the archive's window, made when first opened.
    void showInstrumentHistory();
    void setTabOrderChain();
    void setConfigCaptions(int config);

    // MainWindow_view.cpp: the areas wired together.
    void connectAreas();
    void placeMonitorBesideSelector();

    // MainWindow_history.cpp: undo, redo and what replaces the image.
    void createHistory();
    void addHistoryMenus();
    // Puts an image back (undo, redo) and redraws every window that shows it.
    void restoreImage(const ConfigImage &image);
    // Makes `image` from `source` (an archive's entry) the editor's image: one undo
    // step, not saved. False while an operation holds the image.
    bool openImage(const ConfigImage &image, const QString &source);
    bool imageLocked() const;

    // MainWindow_marks.cpp: the difference marks, their references and the View menu.
    void createMarks();
    void buildViewMenu();
    // The View menu's marks items: one checked, "From the Instrument" only once one was read.
    void connectMarkModes(QMenu *marksMenu);
    void attachMarks();

    // MainWindow_link.cpp: the link, the other windows and the operations' lock.
    void createLinkAndWindows(BytePort *port);
    void connectInstrumentArea();
    void setImageEditable(bool editable);
    // What an operation brought into the image, shown by every window and recorded.
    void takeOperationImage(const ImageBytes &image, ImageChange change, const QString &step, bool saved);
    // Closing during a transfer: asks, then cancels it and closes once it stopped.
    // True when nothing runs and the editor may close now.
    bool quitAfterTransfer();
    // An instrument operation ended: a close waiting for it goes on.
    void operationFinished();

    // MainWindow_file.cpp: start-up, shutdown, New and the factory reset.
    void onNewTriggered();
    void onResetDefaultsTriggered();
    void onExitTriggered();
    // New and the factory reset: start-up again, then the factory defaults, shown on configuration 1.
    void reloadWithDefaults();

    EditorState m_state;
    Prompts &m_prompts;
    Clock &m_clock;
    QString m_programFolder;
    QString m_launchFolder; // current when the editor started, before start-up changes it
    QString m_workingFolder;
    FittingScrollArea *m_scroll = nullptr;
    QString m_startSource; // what start-up loaded: DEFAULT.CFG or the factory defaults

    ImageModel *m_image = nullptr;                // the image the areas edit
    FaceController *m_face = nullptr;             // the face and icons area
    SourcesController *m_sources = nullptr;       // the sources and limits area
    SettingsMenu *m_settings = nullptr;           // the instrument settings of the Edit menu
    FileController *m_file = nullptr;             // files, comparing, report
    InstrumentController *m_instrument = nullptr; // the connection bar and the operations
    ImageHistory *m_history = nullptr;            // a child of the window
    FieldMarks *m_marks = nullptr;                // the difference marks
    int m_captionConfig = 1;                      // configuration the four captions name

    QMenu *m_editMenu = nullptr;
    QMenu *m_recentFiles = nullptr;
    QAction *m_exit = nullptr;
    QAction *m_verifyAfterUpload = nullptr;
    QTimer *m_timer = nullptr;
    bool m_quitAfterTransfer = false;
    bool m_shutDown = false;

    std::unique_ptr<BytePort> m_ownPort;
    std::unique_ptr<PortResolver> m_resolver;
    std::unique_ptr<LinkWindows> m_linkWindows;
    std::unique_ptr<OperationRunner> m_runner;
    std::unique_ptr<WarningQuestion> m_warningQuestion;
    NmeaSelector *m_nmea = nullptr;
    AboutWindow *m_about = nullptr;
    SendersWindow *m_senders = nullptr;
    DampingWindow *m_damping = nullptr;
    TimeOfDayAlarmsWindow *m_todAlarms = nullptr;
    NmeaMonitorWindow *m_nmeaData = nullptr;
    TransferWarning *m_warning = nullptr;
    FactoryWindow *m_factory = nullptr;
};
