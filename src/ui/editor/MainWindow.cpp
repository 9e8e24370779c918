#include "ui/editor/MainWindow.h"

#include "core/ImageModel.h"
#include "link/BytePort.h"
#include "link/InstrumentContext.h"
#include "link/OperationRunner.h"
#include "link/PortResolver.h"
#include "ui/AboutWindow.h"
#include "ui/LinkWindows.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/InstrumentHistoryWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TakePartsWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/FaceView.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/FileController.h"
#include "ui/editor/FittingScrollArea.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/SettingsMenu.h"
#include "ui/editor/SourcesController.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>

MainWindow::MainWindow(Prompts &prompts, Clock &clock, const QString &programFolder, BytePort *port, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts), m_clock(clock), m_programFolder(programFolder),
      m_launchFolder(QDir::currentPath())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Halvane Corvane Display Configuration Editor[*]"));
    setAcceptDrops(true);

    m_image = new ImageModel(m_state, this);
    createHistory();
    m_face = new FaceController(m_state, *m_image, m_prompts, this);
    m_sources = new SourcesController(m_state, *m_image, m_prompts, *m_face, this);
    m_file = new FileController(m_state, m_prompts, *m_history, this);
    m_instrument = new InstrumentController(m_state, m_prompts, this);
    createMarks();
    buildMenus();

    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *body = new QHBoxLayout;
    body->addWidget(m_face->build(central), 0, Qt::AlignTop);
    body->addWidget(m_sources->build(central), 1, Qt::AlignTop);
    auto *outer = new QVBoxLayout(central);
    outer->addWidget(m_instrument->buildConnectionBar(central));
    outer->addLayout(body, 1);
    m_scroll = new FittingScrollArea(central, this);
    setCentralWidget(m_scroll);
    setTabOrderChain();
    connectAreas();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::onConnectionTimer);
    m_timer->start();

    createLinkAndWindows(port);
    connectInstrumentArea();
    placeMonitorBesideSelector();
    startUp();
    m_history->reset(m_startSource);
    m_marks->setSavedImage(ConfigImage::of(m_state)); // what start-up opened
    attachMarks();
    fitToScreen();
}

void MainWindow::fitToScreen()
{
    QScreen *shownOn = screen();
    if (!shownOn)
        return;
    // The size a window gets for its layout (its size hint, at most two thirds of the
    // screen, at least the layout's minimum): the designed layout, as on any large screen.
    const QSize hint = sizeHint();
    const QSize minimum = hint - m_scroll->sizeHint() + m_scroll->designedMinimum();
    const QSize designed = hint.boundedTo(shownOn->geometry().size() * 2 / 3).expandedTo(minimum);
    // A smaller screen gets the window as large as it can take, its frame included; the
    // content then scrolls.
    QMargins frame(0, 0, 0, 0);
    if (frameGeometry() != geometry())
        frame = QMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    else // not yet shown: a frame like a desktop's
        frame = QMargins(4, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8, 4, 4);
    const QSize room = shownOn->availableGeometry().size().shrunkBy(frame);
    // A scroll bar one way takes room the other way, where there is room.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize wanted = designed;
    if (designed.width() > room.width())
        wanted.rheight() += bar;
    if (designed.height() > room.height())
        wanted.rwidth() += bar;
    resize(wanted.boundedTo(room));
}

bool MainWindow::openCommandLineFile(const QString &argument)
{
    return m_file->openConfigFile(QDir(m_launchFolder).absoluteFilePath(argument));
}

NmeaSelector *MainWindow::nmeaSelector()
{
    if (!m_nmea) {
        m_nmea = new NmeaSelector(m_state, *m_image, this);
        m_nmea->setWindowFlag(Qt::Tool);
        m_nmea->setFieldMarks(m_marks);
        m_nmea->hide();
    }
    return m_nmea;
}

namespace
{
// One menu item: its control name, caption and what it does; a row without a name is a
// separator, one without a handler is wired by the caller.
struct MenuItem {
    const char *name;
    const char *caption;
    std::function<void()> handler;
};

void addMenuItems(QObject *owner, QMenu *menu, std::initializer_list<MenuItem> items)
{
    for (const MenuItem &item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction *a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QLatin1String(item.name));
        if (item.handler)
            QObject::connect(a, &QAction::triggered, owner, item.handler);
    }
}

QMenu *addMenu(QMenuBar *bar, const char *name, const char *caption)
{
    QMenu *menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

const MenuItem kSeparator{nullptr, nullptr, {}};
} // namespace

// clang-format off
void MainWindow::buildMenus()
{
    FileController *file = m_file;
    QMenu *fileMenu = addMenu(menuBar(), "mnuFile", "&File");
    addMenuItems(this, fileMenu, {
        {"New", "&New ", [this] { onNewTriggered(); }},
        {"Open", "&Open", [file] { file->open(); }},
    });
    m_recentFiles = fileMenu->addMenu(QStringLiteral("&Recent Files"));
    m_recentFiles->setObjectName(QStringLiteral("RecentFiles"));
    m_recentFiles->menuAction()->setObjectName(QStringLiteral("RecentFiles"));
    addMenuItems(this, fileMenu, {
        {"CompareWithFile", "Compare with &File…", [file] { file->compareWithFile(); }},
        {"TakeParts", "&Take Parts of a File…", [this] { takePartsOfFile(*m_file, m_prompts, m_state, *m_history, this, [this](const ConfigImage &image) { restoreImage(image); }); }},
        {"ExportReport", "&Export Report…", [file] { file->exportReport(); }},
        {"ExportPictures", "Export &Pictures…", [file] { file->exportPictures(); }},
        kSeparator,
        {"Save", "&Save", [file] { file->save(); }},
        {"SaveAs", "Save  &As", [file] { file->saveAs(); }},
        kSeparator,
        {"Exit", "E&xit", [this] { onExitTriggered(); }},
    });
    m_exit = fileMenu->findChild<QAction *>(QStringLiteral("Exit"));

    buildEditMenu();
    buildViewMenu();

    QMenu *helpMenu = addMenu(menuBar(), "mnuHelp", "&Help");
    addMenuItems(this, helpMenu, {
        {"Contents", "&Contents", [] {}},
        kSeparator,
        {"About", "&About", [this] {
             m_about->show();
             m_about->raise();
         }},
    });
}

void MainWindow::buildEditMenu()
{
    m_editMenu = addMenu(menuBar(), "mnuEdit", "&Edit");
    addHistoryMenus();
    m_settings = new SettingsMenu(*m_image, m_prompts, m_editMenu, this);
    m_settings->onPressureUnits = [this](bool bars) { m_senders->setPressureInBars(bars); };
    m_settings->onTemperatureUnits = [this](bool celsius) { m_senders->setTemperatureInCelsius(celsius); };
    m_settings->onBarGraphPointer = [this](bool pointer) { m_face->face()->setPointerMode(pointer); };
    m_settings->build();
    SettingsMenu *settings = m_settings;
    InstrumentController *instrument = m_instrument;
    addMenuItems(this, m_editMenu, {
        kSeparator,
        {"ViewDamping", "Display Damping", [this] { m_damping->open(); }},
        {"ViewMaintenanceAlarm", "Engine Maintenance Alarm", [settings] { settings->askMaintenanceAlarm(); }},
        {"Senders", "Sender Curves", [this] { m_senders->open(); }},
        {"TessaroComPort", "Communications Port", [instrument] { instrument->choosePort(); }},
        {"ViewTodAlarms", "Time-Of-Day Alarms", [this] { m_todAlarms->open(); }},
        kSeparator,
        {"FuelTankSize", "Fuel Tank Size", [settings] { settings->askFuelTankSize(); }},
        {"Tank2Size", "2n'd Tank Size", [settings] { settings->askSecondTankSize(); }},
        kSeparator,
        {"ResetDefaults", "Reset to Factory Defaults", [this] { onResetDefaultsTriggered(); }},
        {"CreateBackup", "Create System Backup", [instrument] { instrument->createBackup(); }},
        {"RestoreBackup", "Restore All from Backup", [instrument] { instrument->restoreBackup(); }},
        kSeparator,
        {"CompareWithInstrument", "Compare with &Instrument", [instrument] { instrument->compareWithInstrument(); }},
        {"VerifyAfterUpload", "&Verify after Upload", {}},
        kSeparator,
        {"InstrumentHistory", "Instrument &History…", [this] { showInstrumentHistory(); }},
    });
    m_verifyAfterUpload = m_editMenu->findChild<QAction *>(QStringLiteral("VerifyAfterUpload"));
    m_verifyAfterUpload->setCheckable(true);
    m_verifyAfterUpload->setChecked(QSettings().value(QLatin1String(kVerifyAfterUploadKey), false).toBool());
    // Remembered between runs; off unless the user switches it on.
    connect(m_verifyAfterUpload, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QLatin1String(kVerifyAfterUploadKey), on); });
}

void MainWindow::buildViewMenu()
{
    QMenu *viewMenu = addMenu(menuBar(), "mnuView", "&View");
    QMenu *marks = viewMenu->addMenu(QStringLiteral("Mark &Differences"));
    marks->setObjectName(QStringLiteral("MarkDifferences"));
    marks->menuAction()->setObjectName(QStringLiteral("MarkDifferences"));
    FieldMarks *fieldMarks = m_marks;
    using Mode = FieldMarks::Mode;
    addMenuItems(this, marks, {
        {"MarkOff", "&Off", [fieldMarks] { fieldMarks->setMode(Mode::Off); }},
        {"MarkFromDefaults", "From Factory &Defaults", [fieldMarks] { fieldMarks->setMode(Mode::Defaults); }},
        {"MarkFromSavedFile", "From the &Saved File", [fieldMarks] { fieldMarks->setMode(Mode::SavedFile); }},
        {"MarkFromInstrument", "From the &Instrument", [fieldMarks] { fieldMarks->setMode(Mode::Instrument); }},
    });
    connectMarkModes(marks);
}
// clang-format on

void MainWindow::showInstrumentHistory()
{
    auto *window = findChild<InstrumentHistoryWindow *>();
    if (!window) {
        FileController *file = m_file;
        window = new InstrumentHistoryWindow(
            m_prompts,
            [file](const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                   const QString &afterTitle) { file->showComparison(before, beforeTitle, after, afterTitle); },
            [this] { return ConfigImage::of(m_state); }, this);
        window->editorModified = [this] { return m_history->modified(); };
        window->openInEditor = [this](const ConfigImage &image, const QString &source) {
            return openImage(image, source);
        };
        // The upload's warning opens beside the editor, which shows what is sent.
        window->uploadEditor = [this] {
            raise();
            activateWindow();
            m_instrument->upload();
        };
        window->move(frameGeometry().topLeft() + QPoint(60, 60));
        connect(m_instrument, &InstrumentController::entryRecorded, window, &InstrumentHistoryWindow::entryRecorded);
    } else {
        window->reload();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::setTabOrderChain()
{
    const QList<QWidget *> chain = m_instrument->tabOrder() + m_face->tabOrder() + m_sources->tabOrder();
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void MainWindow::refreshSettingsMenu()
{
    m_settings->refresh();
}
