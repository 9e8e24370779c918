#include "ui/editor/MainWindow.h"

#include "core/DisplayTable.h"
#include "core/IconTable.h"
#include "core/Prompts.h"
#include "link/Clock.h"
#include "link/InstrumentContext.h"
#include "link/OperationRunner.h"
#include "link/PortResolver.h"
#include "link/SerialLink.h"
#include "ui/LinkWindows.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/FacePicture.h"
#include "ui/editor/FaceView.h"
#include "ui/editor/FillShape.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/MakeWidgets.h"
#include "ui/editor/SettingsMenu.h"
#include "ui/editor/SourcesController.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>

MainWindow::MainWindow(Prompts &prompts, Clock &clock, const QString &programFolder, BytePort *port, QWidget *parent)
    : QMainWindow(parent), m_prompts(prompts), m_clock(clock), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Halvane Corvane Display Configuration Editor[*]"));
    setAcceptDrops(true);

    createHistory();
    buildMenus();

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    m_face = new FaceController(m_state, m_prompts, this);
    m_sources = new SourcesController(m_state, m_prompts, *m_face, this);
    auto *body = new QHBoxLayout;
    body->addWidget(m_face->build(central), 0, Qt::AlignTop);
    body->addWidget(m_sources->build(central), 1, Qt::AlignTop);
    connectAreas();
    auto *outer = new QVBoxLayout(central);
    outer->addWidget(buildConnectionBar());
    outer->addLayout(body, 1);
    setCentralWidget(central);
    setTabOrderChain();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::onConnectionTimer);
    Timer1->start();

    createLinkAndWindows(port);
    loadForm();
    m_history->reset();
    watchDownloads();
}

NmeaSelector *MainWindow::nmeaSelector()
{
    if (!m_nmea) {
        m_nmea = new NmeaSelector(m_state, this);
        m_nmea->setWindowFlag(Qt::Tool);
        m_nmea->hide();
    }
    return m_nmea;
}

namespace
{
using W = MainWindow;

// One menu item: the member that keeps it, its control name, caption and handler; a
// row without a name is a separator.
struct MenuItem {
    QAction *W::*member;
    const char *name;
    const char *caption;
    void (W::*handler)();
};

void addMenuItems(W &window, QMenu *menu, std::initializer_list<MenuItem> items)
{
    for (const MenuItem &item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction *a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QLatin1String(item.name));
        window.*item.member = a;
        if (item.handler)
            QObject::connect(a, &QAction::triggered, &window, item.handler);
    }
}

QMenu *addMenu(QMenuBar *bar, const char *name, const char *caption)
{
    QMenu *menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

const MenuItem kSeparator{nullptr, nullptr, nullptr, nullptr};
} // namespace

// clang-format off
void MainWindow::buildMenus()
{
    mnuFile = addMenu(menuBar(), "mnuFile", "&File");
    addMenuItems(*this, mnuFile, {
        {&W::New, "New", "&New ", &W::onNewTriggered},
        {&W::Open, "Open", "&Open", &W::onOpenTriggered},
    });
    RecentFiles = mnuFile->addMenu(QStringLiteral("&Recent Files"));
    RecentFiles->setObjectName(QStringLiteral("RecentFiles"));
    RecentFiles->menuAction()->setObjectName(QStringLiteral("RecentFiles"));
    addMenuItems(*this, mnuFile, {
        {&W::CompareWithFile, "CompareWithFile", "Compare with &File…", &W::onCompareWithFileTriggered},
        {&W::ExportReport, "ExportReport", "&Export Report…", &W::onExportReportTriggered},
        {&W::ExportPictures, "ExportPictures", "Export &Pictures…", &W::onExportPicturesTriggered},
        kSeparator,
        {&W::Save, "Save", "&Save", &W::onSaveTriggered},
        {&W::SaveAs, "SaveAs", "Save  &As", &W::onSaveAsTriggered},
        kSeparator,
        {&W::Exit, "Exit", "E&xit", &W::onExitTriggered},
    });

    mnuEdit = addMenu(menuBar(), "mnuEdit", "&Edit");
    addHistoryMenus();
    m_settings = new SettingsMenu(m_state, m_prompts, mnuEdit, this);
    m_settings->onPressureUnits = [this](bool bars) {
        if (onPressureUnitsChanged)
            onPressureUnitsChanged(bars);
    };
    m_settings->onTemperatureUnits = [this](bool celsius) {
        if (onTemperatureUnitsChanged)
            onTemperatureUnitsChanged(celsius);
    };
    m_settings->onBarGraphPointer = [this](bool pointer) { m_face->face()->setPointerMode(pointer); };
    m_settings->build();
    Tacho = m_settings->tachometer();
    PullyRatio = m_settings->pulleyRatio();
    addMenuItems(*this, mnuEdit, {
        kSeparator,
        {&W::ViewDamping, "ViewDamping", "Display Damping", &W::onViewDampingTriggered},
        {&W::ViewMaintenanceAlarm, "ViewMaintenanceAlarm", "Engine Maintenance Alarm", &W::onViewMaintenanceAlarmTriggered},
        {&W::Senders, "Senders", "Sender Curves", &W::onSendersTriggered},
        {&W::TessaroComPort, "TessaroComPort", "Communications Port", &W::onCommunicationsPortTriggered},
        {&W::ViewTodAlarms, "ViewTodAlarms", "Time-Of-Day Alarms", &W::onViewTodAlarmsTriggered},
        kSeparator,
        {&W::FuelTankSize, "FuelTankSize", "Fuel Tank Size", &W::onFuelTankSizeTriggered},
        {&W::Tank2Size, "Tank2Size", "2n'd Tank Size", &W::onTank2SizeTriggered},
        kSeparator,
        {&W::ResetDefaults, "ResetDefaults", "Reset to Factory Defaults", &W::onResetDefaultsTriggered},
        {&W::CreateBackup, "CreateBackup", "Create System Backup", &W::onCreateBackupTriggered},
        {&W::RestoreBackup, "RestoreBackup", "Restore All from Backup", &W::onRestoreBackupTriggered},
        kSeparator,
        {&W::CompareWithInstrument, "CompareWithInstrument", "Compare with &Instrument", &W::onCompareWithInstrumentTriggered},
        {&W::VerifyAfterUpload, "VerifyAfterUpload", "&Verify after Upload", nullptr},
    });
    VerifyAfterUpload->setCheckable(true);
    VerifyAfterUpload->setChecked(QSettings().value(QLatin1String(kVerifyAfterUploadKey), false).toBool());
    // Remembered between runs; off unless the user switches it on.
    connect(VerifyAfterUpload, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QLatin1String(kVerifyAfterUploadKey), on); });

    mnuHelp = addMenu(menuBar(), "mnuHelp", "&Help");
    addMenuItems(*this, mnuHelp, {
        {&W::Contents, "Contents", "&Contents", &W::onContentsTriggered},
        kSeparator,
        {&W::About, "About", "&About", &W::onAboutTriggered},
    });
}
// clang-format on

QWidget *MainWindow::buildConnectionBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("connectionBar"));

    fraConnection = ui::makeFrame(bar, QStringLiteral("fraConnection"), QStringLiteral("Connection"));
    shpCommsConnected = new FillShape(QColor(255, 0, 0), fraConnection);
    shpCommsConnected->setObjectName(QStringLiteral("shpCommsConnected"));
    shpCommsConnected->setAccessibleName(QStringLiteral("Connection indicator"));
    lblConnected = new ClickLabel(QStringLiteral("Not Connected to Corvane"), fraConnection);
    lblConnected->setObjectName(QStringLiteral("lblConnected"));
    // Wide enough for the longest text the indicator shows, so the bar does not jump.
    lblConnected->setMinimumWidth(
        lblConnected->fontMetrics().horizontalAdvance(QStringLiteral("Not Connected to Corvane")) + 8);
    connect(lblConnected, &ClickLabel::clicked, this, &MainWindow::onConnectedLabelClicked);
    auto *connectionLayout = new QHBoxLayout(fraConnection);
    connectionLayout->addWidget(shpCommsConnected);
    connectionLayout->addWidget(lblConnected, 1);

    fraComPort = ui::makeFrame(bar, QStringLiteral("fraComPort"), QStringLiteral("Serial Port"));
    lblCommsPort = ui::makeLabel(fraComPort, QStringLiteral("lblCommsPort"), QStringLiteral("COM Port = 0"));
    lblCommsPort->setMinimumWidth(lblCommsPort->fontMetrics().horizontalAdvance(QStringLiteral("COM Port =  16")) + 8);
    auto *portLayout = new QHBoxLayout(fraComPort);
    portLayout->addWidget(lblCommsPort);

    lblTessaroSN = ui::makeLabel(bar, QStringLiteral("lblTessaroSN"), QStringLiteral("  Corvane SN#:  Unknown"));
    lblTessaroSN->setMinimumWidth(
        lblTessaroSN->fontMetrics().horizontalAdvance(QStringLiteral(" Corvane SN#:  4294967295")) + 8);

    cmdUpload =
        ui::makeButton(bar, QStringLiteral("cmdUpload"), QStringLiteral("Upload Display Configurations To Corvane"),
                       QStringLiteral("Upload Display Configurations To Corvane"));
    cmdDownload = ui::makeButton(bar, QStringLiteral("cmdDownload"),
                                 QStringLiteral("Download Display Configurations From Corvane"),
                                 QStringLiteral("Download Display Configurations From Corvane"));
    connect(cmdUpload, &QPushButton::clicked, this, &MainWindow::onUploadClicked);
    connect(cmdDownload, &QPushButton::clicked, this, &MainWindow::onDownloadClicked);

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fraConnection);
    layout->addWidget(fraComPort);
    layout->addSpacing(6);
    layout->addWidget(lblTessaroSN);
    layout->addStretch(1);
    layout->addWidget(cmdUpload);
    layout->addWidget(cmdDownload);
    return bar;
}

void MainWindow::setTabOrderChain()
{
    const QList<QWidget *> chain =
        QList<QWidget *>{lblConnected, cmdUpload, cmdDownload} + m_face->tabOrder() + m_sources->tabOrder();
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void MainWindow::RefreshSettingsMenu()
{
    m_settings->refresh();
}

void MainWindow::onFuelTankSizeTriggered()
{
    m_settings->askFuelTankSize();
}

void MainWindow::onTank2SizeTriggered()
{
    m_settings->askSecondTankSize();
}

void MainWindow::onViewMaintenanceAlarmTriggered()
{
    m_settings->askMaintenanceAlarm();
}
