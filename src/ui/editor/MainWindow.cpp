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
#include "ui/editor/FacePicture.h"
#include "ui/editor/FaceView.h"
#include "ui/editor/FillShape.h"
#include "ui/editor/ImageHistory.h"

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

namespace
{

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &accessible)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &title)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setAccessibleName(title.trimmed());
    return frame;
}

} // namespace

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
    auto *body = new QHBoxLayout;
    body->addWidget(buildConfigurationArea(), 0, Qt::AlignTop);
    body->addWidget(buildDataFrame(), 1, Qt::AlignTop);
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

void MainWindow::buildMenus()
{
    auto action = [this](QMenu *menu, const char *name, const QString &text) {
        auto *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto submenu = [this](QMenu *menu, const char *name, const QString &text) {
        QMenu *sub = menu->addMenu(text);
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    New = action(mnuFile, "New", QStringLiteral("&New "));
    Open = action(mnuFile, "Open", QStringLiteral("&Open"));
    RecentFiles = submenu(mnuFile, "RecentFiles", QStringLiteral("&Recent Files"));
    CompareWithFile = action(mnuFile, "CompareWithFile", QStringLiteral("Compare with &File…"));
    ExportReport = action(mnuFile, "ExportReport", QStringLiteral("&Export Report…"));
    ExportPictures = action(mnuFile, "ExportPictures", QStringLiteral("Export &Pictures…"));
    mnuFile->addSeparator();
    Save = action(mnuFile, "Save", QStringLiteral("&Save"));
    SaveAs = action(mnuFile, "SaveAs", QStringLiteral("Save  &As"));
    mnuFile->addSeparator();
    Exit = action(mnuFile, "Exit", QStringLiteral("E&xit"));

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addHistoryMenus();
    buildSettingMenus();
    mnuEdit->addSeparator();
    ViewDamping = action(mnuEdit, "ViewDamping", QStringLiteral("Display Damping"));
    ViewMaintenanceAlarm = action(mnuEdit, "ViewMaintenanceAlarm", QStringLiteral("Engine Maintenance Alarm"));
    Senders = action(mnuEdit, "Senders", QStringLiteral("Sender Curves"));
    TessaroComPort = action(mnuEdit, "TessaroComPort", QStringLiteral("Communications Port"));
    ViewTodAlarms = action(mnuEdit, "ViewTodAlarms", QStringLiteral("Time-Of-Day Alarms"));
    mnuEdit->addSeparator();
    FuelTankSize = action(mnuEdit, "FuelTankSize", QStringLiteral("Fuel Tank Size"));
    Tank2Size = action(mnuEdit, "Tank2Size", QStringLiteral("2n'd Tank Size"));
    mnuEdit->addSeparator();
    ResetDefaults = action(mnuEdit, "ResetDefaults", QStringLiteral("Reset to Factory Defaults"));
    CreateBackup = action(mnuEdit, "CreateBackup", QStringLiteral("Create System Backup"));
    RestoreBackup = action(mnuEdit, "RestoreBackup", QStringLiteral("Restore All from Backup"));
    mnuEdit->addSeparator();
    CompareWithInstrument = action(mnuEdit, "CompareWithInstrument", QStringLiteral("Compare with &Instrument"));
    VerifyAfterUpload = action(mnuEdit, "VerifyAfterUpload", QStringLiteral("&Verify after Upload"));
    VerifyAfterUpload->setCheckable(true);
    VerifyAfterUpload->setChecked(QSettings().value(QLatin1String(kVerifyAfterUploadKey), false).toBool());

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    Contents = action(mnuHelp, "Contents", QStringLiteral("&Contents"));
    mnuHelp->addSeparator();
    About = action(mnuHelp, "About", QStringLiteral("&About"));

    const std::pair<QAction *, void (MainWindow::*)()> handlers[] = {
        {New, &MainWindow::onNewTriggered},
        {Open, &MainWindow::onOpenTriggered},
        {Save, &MainWindow::onSaveTriggered},
        {SaveAs, &MainWindow::onSaveAsTriggered},
        {Exit, &MainWindow::onExitTriggered},
        {CompareWithFile, &MainWindow::onCompareWithFileTriggered},
        {CompareWithInstrument, &MainWindow::onCompareWithInstrumentTriggered},
        {ExportReport, &MainWindow::onExportReportTriggered},
        {ExportPictures, &MainWindow::onExportPicturesTriggered},
        {ViewDamping, &MainWindow::onViewDampingTriggered},
        {ViewMaintenanceAlarm, &MainWindow::onViewMaintenanceAlarmTriggered},
        {Senders, &MainWindow::onSendersTriggered},
        {TessaroComPort, &MainWindow::onCommunicationsPortTriggered},
        {ViewTodAlarms, &MainWindow::onViewTodAlarmsTriggered},
        {FuelTankSize, &MainWindow::onFuelTankSizeTriggered},
        {Tank2Size, &MainWindow::onTank2SizeTriggered},
        {ResetDefaults, &MainWindow::onResetDefaultsTriggered},
        {CreateBackup, &MainWindow::onCreateBackupTriggered},
        {RestoreBackup, &MainWindow::onRestoreBackupTriggered},
        {Contents, &MainWindow::onContentsTriggered},
        {About, &MainWindow::onAboutTriggered},
    };
    for (const auto &[item, slot] : handlers)
        connect(item, &QAction::triggered, this, slot);
    // Remembered between runs; off unless the user switches it on.
    connect(VerifyAfterUpload, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QLatin1String(kVerifyAfterUploadKey), on); });
}

QWidget *MainWindow::buildConnectionBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("connectionBar"));

    fraConnection = makeFrame(bar, QStringLiteral("fraConnection"), QStringLiteral("Connection"));
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

    fraComPort = makeFrame(bar, QStringLiteral("fraComPort"), QStringLiteral("Serial Port"));
    lblCommsPort = makeLabel(fraComPort, QStringLiteral("lblCommsPort"), QStringLiteral("COM Port = 0"));
    lblCommsPort->setMinimumWidth(lblCommsPort->fontMetrics().horizontalAdvance(QStringLiteral("COM Port =  16")) + 8);
    auto *portLayout = new QHBoxLayout(fraComPort);
    portLayout->addWidget(lblCommsPort);

    lblTessaroSN = makeLabel(bar, QStringLiteral("lblTessaroSN"), QStringLiteral("  Corvane SN#:  Unknown"));
    lblTessaroSN->setMinimumWidth(
        lblTessaroSN->fontMetrics().horizontalAdvance(QStringLiteral(" Corvane SN#:  4294967295")) + 8);

    cmdUpload = makeButton(bar, QStringLiteral("cmdUpload"), QStringLiteral("Upload Display Configurations To Corvane"),
                           QStringLiteral("Upload Display Configurations To Corvane"));
    cmdDownload =
        makeButton(bar, QStringLiteral("cmdDownload"), QStringLiteral("Download Display Configurations From Corvane"),
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

QWidget *MainWindow::buildConfigurationArea()
{
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("configurationArea"));

    picBrevo = new FaceView(area);

    fraConfigurations = makeFrame(area, QStringLiteral("fraConfigurations"), QStringLiteral("Display Configurations"));
    auto *buttons = new QHBoxLayout(fraConfigurations);
    buttons->setSpacing(3);
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("16")) + 18;
    for (int i = 0; i < 16; ++i) {
        QPushButton *b = makeButton(fraConfigurations, QStringLiteral("CmdConf1_%1").arg(i), QString::number(i + 1),
                                    QStringLiteral("Display Configuration %1").arg(i + 1));
        b->setMinimumWidth(width);
        b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        connect(b, &QPushButton::clicked, this, [this, i] { onConfigurationClicked(i); });
        CmdConf1[size_t(i)] = b;
        buttons->addWidget(b);
    }

    cmdSetCurrentConfig = makeButton(area, QStringLiteral("cmdSetCurrentConfig"), QStringLiteral("Set #1 Icons"),
                                     QStringLiteral("Set all icons of the current configuration"));
    cmdResetCurrentConfig = makeButton(area, QStringLiteral("cmdResetCurrentConfig"), QStringLiteral("Clear  #1 Icons"),
                                       QStringLiteral("Clear all icons of the current configuration"));
    cmdClearConfig = makeButton(area, QStringLiteral("cmdClearConfig"), QStringLiteral("Clear #1 Configuration"),
                                QStringLiteral("Completely clear the current configuration"));
    connect(cmdSetCurrentConfig, &QPushButton::clicked, this, &MainWindow::onSetCurrentConfigClicked);
    connect(cmdResetCurrentConfig, &QPushButton::clicked, this, &MainWindow::onResetCurrentConfigClicked);
    connect(cmdClearConfig, &QPushButton::clicked, this, &MainWindow::onClearConfigClicked);
    auto *configButtons = new QHBoxLayout;
    configButtons->addWidget(cmdSetCurrentConfig, 1);
    configButtons->addWidget(cmdResetCurrentConfig, 1);
    configButtons->addWidget(cmdClearConfig, 1);

    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picBrevo);
    layout->addWidget(fraConfigurations);
    layout->addLayout(configButtons);
    layout->addWidget(buildIconsFrame());
    return area;
}

QGroupBox *MainWindow::buildIconsFrame()
{
    fraIcons = makeFrame(this, QStringLiteral("fraIcons"), QStringLiteral("ICONS"));
    fraIconsUpper = makeFrame(fraIcons, QStringLiteral("fraIconsUpper"), QStringLiteral("Upper"));
    fraIconsMiddle = makeFrame(fraIcons, QStringLiteral("fraIconsMiddle"), QStringLiteral("Middle"));
    fraIconsLowerLeft = makeFrame(fraIcons, QStringLiteral("fraIconsLowerLeft"), QStringLiteral("Lower Left"));
    fraIconsLowerRight = makeFrame(fraIcons, QStringLiteral("fraIconsLowerRight"), QStringLiteral("Lower Right"));

    using Slot = void (MainWindow::*)();
    static const Slot boxSlots[icons::kCount] = {
        &MainWindow::onIconsUpperSpeedClicked,       &MainWindow::onIconsUpperDepthClicked,
        &MainWindow::onIconsUpperRpmClicked,         &MainWindow::onIconsUpperDegClicked,
        &MainWindow::onIconsMiddleNmea1Clicked,      &MainWindow::onIconsMiddleNmea1LeftClicked,
        &MainWindow::onIconsMiddleNmea2Clicked,      &MainWindow::onIconsMiddleNmea2DownClicked,
        &MainWindow::onIconsMiddleNmea2UpClicked,    &MainWindow::onIconsMiddleNmea3Clicked,
        &MainWindow::onIconsMiddleNmea3RightClicked, &MainWindow::onMidLeftArrowClicked,
        &MainWindow::onMidRightArrowClicked,         &MainWindow::onIconsLowerLeftOilClicked,
        &MainWindow::onIconsLowerLeftSpeedClicked,   &MainWindow::onIconsLowerLeftVdcClicked,
        &MainWindow::onIconsLowerRightDepthClicked,  &MainWindow::onIconsLowerRightRpmClicked,
        &MainWindow::onIconsLowerRightFuelClicked,   &MainWindow::onIconsLowerRightTempClicked,
    };
    for (int i = 0; i < icons::kCount; ++i) {
        const icons::IconDef &def = icons::kIcons[i];
        QGroupBox *group = def.group == icons::Group::Upper       ? fraIconsUpper
                           : def.group == icons::Group::Middle    ? fraIconsMiddle
                           : def.group == icons::Group::LowerLeft ? fraIconsLowerLeft
                                                                  : fraIconsLowerRight;
        auto *box = new QCheckBox(QLatin1String(def.caption), group);
        box->setObjectName(QLatin1String(def.box));
        box->setAccessibleName(QLatin1String(def.accessible));
        m_iconBox[size_t(i)] = box;
        m_iconElement[size_t(i)] = picBrevo->element(QLatin1String(def.element));
        connect(box, &QCheckBox::toggled, this, boxSlots[i]);
    }
    ChkIconsUpperSpeed = m_iconBox[0];
    ChkIconsUpperDepth = m_iconBox[1];
    ChkIconsUpperRpm = m_iconBox[2];
    ChkIconsUpperDeg = m_iconBox[3];
    ChkIconsMiddleNmea1 = m_iconBox[4];
    ChkIconsMiddleNmea1Left = m_iconBox[5];
    ChkIconsMiddleNmea2 = m_iconBox[6];
    ChkIconsMiddleNmea2Down = m_iconBox[7];
    ChkIconsMiddleNmea2Up = m_iconBox[8];
    ChkIconsMiddleNmea3 = m_iconBox[9];
    ChkIconsMiddleNmea3Right = m_iconBox[10];
    ChkMidLeftArrow = m_iconBox[11];
    ChkMidRightArrow = m_iconBox[12];
    ChkIconsLowerLeftOil = m_iconBox[13];
    ChkIconsLowerLeftSpeed = m_iconBox[14];
    ChkIconsLowerLeftVdc = m_iconBox[15];
    ChkIconsLowerRightDepth = m_iconBox[16];
    ChkIconsLowerRightRpm = m_iconBox[17];
    ChkIconsLowerRightFuel = m_iconBox[18];
    ChkIconsLowerRightTemp = m_iconBox[19];

    auto *upper = new QVBoxLayout(fraIconsUpper);
    for (QCheckBox *b : {ChkIconsUpperSpeed, ChkIconsUpperDepth, ChkIconsUpperRpm, ChkIconsUpperDeg})
        upper->addWidget(b);
    upper->addStretch(1);

    auto *middle = new QGridLayout(fraIconsMiddle);
    middle->addWidget(ChkIconsMiddleNmea1, 0, 0);
    middle->addWidget(ChkIconsMiddleNmea1Left, 0, 1);
    middle->addWidget(ChkIconsMiddleNmea2, 1, 0);
    middle->addWidget(ChkIconsMiddleNmea2Up, 1, 1);
    middle->addWidget(ChkIconsMiddleNmea2Down, 1, 2);
    middle->addWidget(ChkIconsMiddleNmea3, 2, 0);
    middle->addWidget(ChkIconsMiddleNmea3Right, 2, 1);
    middle->addWidget(ChkMidLeftArrow, 3, 0, 1, 3);
    middle->addWidget(ChkMidRightArrow, 4, 0, 1, 3);
    middle->setRowStretch(5, 1);

    auto *lowerLeft = new QVBoxLayout(fraIconsLowerLeft);
    for (QCheckBox *b : {ChkIconsLowerLeftOil, ChkIconsLowerLeftSpeed, ChkIconsLowerLeftVdc})
        lowerLeft->addWidget(b);
    lowerLeft->addStretch(1);

    auto *lowerRight = new QVBoxLayout(fraIconsLowerRight);
    for (QCheckBox *b :
         {ChkIconsLowerRightTemp, ChkIconsLowerRightDepth, ChkIconsLowerRightRpm, ChkIconsLowerRightFuel})
        lowerRight->addWidget(b);
    lowerRight->addStretch(1);

    auto *layout = new QHBoxLayout(fraIcons);
    layout->addWidget(fraIconsUpper);
    layout->addWidget(fraIconsMiddle, 2);
    layout->addWidget(fraIconsLowerLeft);
    layout->addWidget(fraIconsLowerRight);
    return fraIcons;
}

QGroupBox *MainWindow::buildDataFrame()
{
    fraData = makeFrame(this, QStringLiteral("fraData"), QStringLiteral("Data for Current Configuration #1 "));
    auto *layout = new QVBoxLayout(fraData);
    for (int k = 0; k < displays::kCount; ++k)
        layout->addWidget(buildDisplayFrame(k));
    layout->addStretch(1);

    fraDisplay1 = qobject_cast<QGroupBox *>(m_display[0].combo->parentWidget());
    fraDisplay2 = qobject_cast<QGroupBox *>(m_display[1].combo->parentWidget());
    fraDisplay3 = qobject_cast<QGroupBox *>(m_display[2].combo->parentWidget());
    fraLeftBar = qobject_cast<QGroupBox *>(m_display[3].combo->parentWidget());
    fraRightBar = qobject_cast<QGroupBox *>(m_display[4].combo->parentWidget());
    ComboDisplay1 = m_display[0].combo;
    ComboDisplay2 = m_display[1].combo;
    ComboDisplay3 = m_display[2].combo;
    ComboDisplayLeftBar = m_display[3].combo;
    ComboDisplayRightBar = m_display[4].combo;
    LblDisplay1LowAlarm = m_display[0].lowAlarm;
    LblDisplay1HighAlarm = m_display[0].highAlarm;
    LblDisplay2LowAlarm = m_display[1].lowAlarm;
    LblDisplay2HighAlarm = m_display[1].highAlarm;
    LblDisplay3LowAlarm = m_display[2].lowAlarm;
    LblDisplay3HighAlarm = m_display[2].highAlarm;
    LblLeftBarLowAlarm = m_display[3].lowAlarm;
    LblLeftBarHighAlarm = m_display[3].highAlarm;
    LblRightBarLowAlarm = m_display[4].lowAlarm;
    LblRightBarHighAlarm = m_display[4].highAlarm;
    LblLeftBarLowerLimit = m_display[3].lowerLimit;
    LblLeftBarUpperLimit = m_display[3].upperLimit;
    LblRightBarLowerLimit = m_display[4].lowerLimit;
    LblRightBarUpperLimit = m_display[4].upperLimit;
    cmdDD1HiAlarm = m_display[0].hiAlarm;
    cmdDD1LoAlarm = m_display[0].loAlarm;
    cmdDD2HiAlarm = m_display[1].hiAlarm;
    cmdDD2LoAlarm = m_display[1].loAlarm;
    cmdDD3HiAlarm = m_display[2].hiAlarm;
    cmdDD3LoAlarm = m_display[2].loAlarm;
    cmdDD4HiAlarm = m_display[3].hiAlarm;
    cmdDD4LoAlarm = m_display[3].loAlarm;
    cmdDD5HiAlarm = m_display[4].hiAlarm;
    cmdDD5LoAlarm = m_display[4].loAlarm;
    cmdDD4HiBar = m_display[3].hiBar;
    cmdDD4LoBar = m_display[3].loBar;
    cmdDD5HiBar = m_display[4].hiBar;
    cmdDD5LoBar = m_display[4].loBar;
    cmdDD4HiBar->installEventFilter(this);

    using Slot = void (MainWindow::*)();
    const Slot clicks[displays::kCount][4] = {
        {&MainWindow::onDD1HiAlarmClicked, &MainWindow::onDD1LoAlarmClicked, nullptr, nullptr},
        {&MainWindow::onDD2HiAlarmClicked, &MainWindow::onDD2LoAlarmClicked, nullptr, nullptr},
        {&MainWindow::onDD3HiAlarmClicked, &MainWindow::onDD3LoAlarmClicked, nullptr, nullptr},
        {&MainWindow::onDD4HiAlarmClicked, &MainWindow::onDD4LoAlarmClicked, &MainWindow::onDD4HiBarClicked,
         &MainWindow::onDD4LoBarClicked},
        {&MainWindow::onDD5HiAlarmClicked, &MainWindow::onDD5LoAlarmClicked, &MainWindow::onDD5HiBarClicked,
         &MainWindow::onDD5LoBarClicked},
    };
    const Slot listClicks[displays::kCount] = {&MainWindow::onDisplay1Clicked, &MainWindow::onDisplay2Clicked,
                                               &MainWindow::onDisplay3Clicked, &MainWindow::onDisplayLeftBarClicked,
                                               &MainWindow::onDisplayRightBarClicked};
    for (int k = 0; k < displays::kCount; ++k) {
        DisplayControls &c = m_display[size_t(k)];
        connect(c.hiAlarm, &QPushButton::clicked, this, clicks[k][0]);
        connect(c.loAlarm, &QPushButton::clicked, this, clicks[k][1]);
        if (c.hiBar) {
            connect(c.hiBar, &QPushButton::clicked, this, clicks[k][2]);
            connect(c.loBar, &QPushButton::clicked, this, clicks[k][3]);
        }
        // A program step that changes the entry runs the data-source steps as a user's pick would;
        // the user's pick (activated) then also opens the sentence selector.
        connect(c.combo, &QComboBox::currentIndexChanged, this,
                [this, k](int position) { dataSourceChanged(k, position); });
        connect(c.combo, &QComboBox::activated, this, listClicks[k]);
        c.combo->installEventFilter(this);
    }
    m_display[0].focus = &Display1Focus;
    m_display[1].focus = &Display2Focus;
    m_display[2].focus = &Display3Focus;
    m_display[3].focus = &LeftBarFocus;
    m_display[4].focus = &RightBarFocus;
    m_display[0].highlight = picBrevo->PicDisplay1Blank;
    m_display[1].highlight = picBrevo->PicDisplay2Blank;
    m_display[2].highlight = picBrevo->PicDisplay3Blank;
    m_display[3].highlight = picBrevo->PicDisplay4Blank;
    m_display[4].highlight = picBrevo->PicDisplay5Blank;
    return fraData;
}

QGroupBox *MainWindow::buildDisplayFrame(int display)
{
    const displays::DisplayDef &def = displays::kDisplays[display];
    const QString title = QLatin1String(def.frameTitle);
    QGroupBox *frame = makeFrame(fraData, QLatin1String(def.frameName), title);
    DisplayControls &c = m_display[size_t(display)];

    const QFontMetrics fm = fontMetrics();
    auto *from =
        makeLabel(frame, QStringLiteral("lblDataFrom%1").arg(display + 1), QStringLiteral("Display Data from: "));
    c.combo = new QComboBox(frame);
    c.combo->setObjectName(QLatin1String(def.list));
    c.combo->setAccessibleName(title + QStringLiteral(" data source"));
    c.combo->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Other source (code 255)")) + 40);
    c.combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    from->setBuddy(c.combo);

    const int alarmWidth = fm.horizontalAdvance(QStringLiteral("High Alarm Limit: 65535.0")) + 6;
    c.highAlarm = makeLabel(frame, QLatin1String(def.highAlarmLabel), QStringLiteral("High Alarm Limit: 0"));
    c.lowAlarm = makeLabel(frame, QLatin1String(def.lowAlarmLabel), QStringLiteral("Low Alarm Limit: 0"));
    c.highAlarm->setMinimumWidth(alarmWidth);
    c.lowAlarm->setMinimumWidth(alarmWidth);
    c.hiAlarm = makeButton(frame, QLatin1String(def.hiAlarmButton), QStringLiteral("Change"),
                           QStringLiteral("Change High Alarm Limit of ") + title);
    c.loAlarm = makeButton(frame, QLatin1String(def.loAlarmButton), QStringLiteral("Change"),
                           QStringLiteral("Change Low Alarm Limit of ") + title);

    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(10);
    grid->addWidget(from, 0, 0);
    grid->addWidget(c.combo, 1, 0);
    grid->addWidget(c.highAlarm, 0, 1);
    grid->addWidget(c.hiAlarm, 0, 2);
    grid->addWidget(c.lowAlarm, 1, 1);
    grid->addWidget(c.loAlarm, 1, 2);

    if (def.isBar) {
        const int limitWidth = fm.horizontalAdvance(QStringLiteral("Upper Bar Limit: 65535.0")) + 6;
        c.upperLimit = makeLabel(frame, QLatin1String(def.upperLimitLabel), QStringLiteral("Upper Bar Limit: 0"));
        c.lowerLimit = makeLabel(frame, QLatin1String(def.lowerLimitLabel), QStringLiteral("Lower Bar Limit: 0"));
        c.upperLimit->setMinimumWidth(limitWidth);
        c.lowerLimit->setMinimumWidth(limitWidth);
        c.hiBar = makeButton(frame, QLatin1String(def.hiBarButton), QStringLiteral("Change"),
                             QStringLiteral("Change Upper Bar Limit of ") + title);
        c.loBar = makeButton(frame, QLatin1String(def.loBarButton), QStringLiteral("Change"),
                             QStringLiteral("Change Lower Bar Limit of ") + title);
        grid->addItem(new QSpacerItem(12, 1, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 3);
        grid->addWidget(c.upperLimit, 0, 4);
        grid->addWidget(c.hiBar, 0, 5);
        grid->addWidget(c.lowerLimit, 1, 4);
        grid->addWidget(c.loBar, 1, 5);
    }
    grid->setColumnStretch(6, 1);
    return frame;
}

void MainWindow::setTabOrderChain()
{
    QList<QWidget *> chain = {lblConnected, cmdUpload, cmdDownload};
    for (QPushButton *b : CmdConf1)
        chain << b;
    chain << cmdSetCurrentConfig << cmdResetCurrentConfig << cmdClearConfig;
    for (QCheckBox *b :
         {ChkIconsUpperSpeed,      ChkIconsUpperDepth,      ChkIconsUpperRpm,         ChkIconsUpperDeg,
          ChkIconsMiddleNmea1,     ChkIconsMiddleNmea1Left, ChkIconsMiddleNmea2,      ChkIconsMiddleNmea2Up,
          ChkIconsMiddleNmea2Down, ChkIconsMiddleNmea3,     ChkIconsMiddleNmea3Right, ChkMidLeftArrow,
          ChkMidRightArrow,        ChkIconsLowerLeftOil,    ChkIconsLowerLeftSpeed,   ChkIconsLowerLeftVdc,
          ChkIconsLowerRightTemp,  ChkIconsLowerRightDepth, ChkIconsLowerRightRpm,    ChkIconsLowerRightFuel})
        chain << b;
    for (const DisplayControls &c : m_display) {
        chain << c.combo << c.hiAlarm << c.loAlarm;
        if (c.hiBar)
            chain << c.hiBar << c.loBar;
    }
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdDD4HiBar && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        cmdDD4HiBar_KeyDown(key->key(), key->modifiers());
        return false;
    }
    for (int k = 0; k < displays::kCount; ++k) {
        if (watched != m_display[size_t(k)].combo)
            continue;
        // Opening the list's popup moves the focus away and back without the user leaving the list.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            setFocusFlag(k, true);
        else if (event->type() == QEvent::FocusOut &&
                 static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            setFocusFlag(k, false);
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
