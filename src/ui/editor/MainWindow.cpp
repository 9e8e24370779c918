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
#include "ui/editor/SettingsMenu.h"

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
    m_settings->onBarGraphPointer = [this](bool pointer) { picBrevo->setPointerMode(pointer); };
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

namespace
{
// The box of each icon, in icons::kIcons order: the member that keeps it and its handler.
// clang-format off
const struct {
    QCheckBox *W::*member;
    void (W::*handler)();
} kIconBoxes[icons::kCount] = {
    {&W::ChkIconsUpperSpeed, &W::onIconsUpperSpeedClicked},
    {&W::ChkIconsUpperDepth, &W::onIconsUpperDepthClicked},
    {&W::ChkIconsUpperRpm, &W::onIconsUpperRpmClicked},
    {&W::ChkIconsUpperDeg, &W::onIconsUpperDegClicked},
    {&W::ChkIconsMiddleNmea1, &W::onIconsMiddleNmea1Clicked},
    {&W::ChkIconsMiddleNmea1Left, &W::onIconsMiddleNmea1LeftClicked},
    {&W::ChkIconsMiddleNmea2, &W::onIconsMiddleNmea2Clicked},
    {&W::ChkIconsMiddleNmea2Down, &W::onIconsMiddleNmea2DownClicked},
    {&W::ChkIconsMiddleNmea2Up, &W::onIconsMiddleNmea2UpClicked},
    {&W::ChkIconsMiddleNmea3, &W::onIconsMiddleNmea3Clicked},
    {&W::ChkIconsMiddleNmea3Right, &W::onIconsMiddleNmea3RightClicked},
    {&W::ChkMidLeftArrow, &W::onMidLeftArrowClicked},
    {&W::ChkMidRightArrow, &W::onMidRightArrowClicked},
    {&W::ChkIconsLowerLeftOil, &W::onIconsLowerLeftOilClicked},
    {&W::ChkIconsLowerLeftSpeed, &W::onIconsLowerLeftSpeedClicked},
    {&W::ChkIconsLowerLeftVdc, &W::onIconsLowerLeftVdcClicked},
    {&W::ChkIconsLowerRightDepth, &W::onIconsLowerRightDepthClicked},
    {&W::ChkIconsLowerRightRpm, &W::onIconsLowerRightRpmClicked},
    {&W::ChkIconsLowerRightFuel, &W::onIconsLowerRightFuelClicked},
    {&W::ChkIconsLowerRightTemp, &W::onIconsLowerRightTempClicked},
};

// Where the middle group's grid shows its boxes.
const struct {
    QCheckBox *W::*member;
    int row, column, columnSpan;
} kMiddleGrid[] = {
    {&W::ChkIconsMiddleNmea1, 0, 0, 1},
    {&W::ChkIconsMiddleNmea1Left, 0, 1, 1},
    {&W::ChkIconsMiddleNmea2, 1, 0, 1},
    {&W::ChkIconsMiddleNmea2Up, 1, 1, 1},
    {&W::ChkIconsMiddleNmea2Down, 1, 2, 1},
    {&W::ChkIconsMiddleNmea3, 2, 0, 1},
    {&W::ChkIconsMiddleNmea3Right, 2, 1, 1},
    {&W::ChkMidLeftArrow, 3, 0, 3},
    {&W::ChkMidRightArrow, 4, 0, 3},
};
// clang-format on

// Stacks `boxes` in `frame`, top-aligned.
void stackBoxes(const W &window, QGroupBox *frame, std::initializer_list<QCheckBox * W::*> boxes)
{
    auto *layout = new QVBoxLayout(frame);
    for (QCheckBox *W::*box : boxes)
        layout->addWidget(window.*box);
    layout->addStretch(1);
}
} // namespace

QGroupBox *MainWindow::buildIconsFrame()
{
    fraIcons = makeFrame(this, QStringLiteral("fraIcons"), QStringLiteral("ICONS"));
    fraIconsUpper = makeFrame(fraIcons, QStringLiteral("fraIconsUpper"), QStringLiteral("Upper"));
    fraIconsMiddle = makeFrame(fraIcons, QStringLiteral("fraIconsMiddle"), QStringLiteral("Middle"));
    fraIconsLowerLeft = makeFrame(fraIcons, QStringLiteral("fraIconsLowerLeft"), QStringLiteral("Lower Left"));
    fraIconsLowerRight = makeFrame(fraIcons, QStringLiteral("fraIconsLowerRight"), QStringLiteral("Lower Right"));
    buildIconBoxes();
    layOutIconBoxes();

    auto *layout = new QHBoxLayout(fraIcons);
    layout->addWidget(fraIconsUpper);
    layout->addWidget(fraIconsMiddle, 2);
    layout->addWidget(fraIconsLowerLeft);
    layout->addWidget(fraIconsLowerRight);
    return fraIcons;
}

void MainWindow::buildIconBoxes()
{
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
        connect(box, &QCheckBox::toggled, this, kIconBoxes[i].handler);
        this->*kIconBoxes[i].member = box;
    }
}

void MainWindow::layOutIconBoxes()
{
    stackBoxes(*this, fraIconsUpper,
               {&W::ChkIconsUpperSpeed, &W::ChkIconsUpperDepth, &W::ChkIconsUpperRpm, &W::ChkIconsUpperDeg});

    auto *middle = new QGridLayout(fraIconsMiddle);
    for (const auto &cell : kMiddleGrid)
        middle->addWidget(this->*cell.member, cell.row, cell.column, 1, cell.columnSpan);
    middle->setRowStretch(5, 1);

    stackBoxes(*this, fraIconsLowerLeft,
               {&W::ChkIconsLowerLeftOil, &W::ChkIconsLowerLeftSpeed, &W::ChkIconsLowerLeftVdc});
    stackBoxes(*this, fraIconsLowerRight,
               {&W::ChkIconsLowerRightTemp, &W::ChkIconsLowerRightDepth, &W::ChkIconsLowerRightRpm,
                &W::ChkIconsLowerRightFuel});
}

namespace
{
// What the window keeps of each display, and the handlers of its buttons and list; the
// bar limits only for the bars.
struct DisplayMembers {
    QGroupBox *W::*frame;
    QComboBox *W::*list;
    QLabel *W::*lowAlarm, *W::*highAlarm, *W::*lowerLimit, *W::*upperLimit;
    QPushButton *W::*hiAlarm, *W::*loAlarm, *W::*hiBar, *W::*loBar;
    void (W::*hiAlarmClicked)(), (W::*loAlarmClicked)(), (W::*hiBarClicked)(), (W::*loBarClicked)();
    void (W::*listClicked)();
    qint16 W::*focus;
    FacePicture *FaceView::*highlight;
};

// clang-format off
const DisplayMembers kDisplayMembers[displays::kCount] = {
    {&W::fraDisplay1, &W::ComboDisplay1, &W::LblDisplay1LowAlarm, &W::LblDisplay1HighAlarm, nullptr, nullptr,
     &W::cmdDD1HiAlarm, &W::cmdDD1LoAlarm, nullptr, nullptr,
     &W::onDD1HiAlarmClicked, &W::onDD1LoAlarmClicked, nullptr, nullptr,
     &W::onDisplay1Clicked, &W::Display1Focus, &FaceView::PicDisplay1Blank},
    {&W::fraDisplay2, &W::ComboDisplay2, &W::LblDisplay2LowAlarm, &W::LblDisplay2HighAlarm, nullptr, nullptr,
     &W::cmdDD2HiAlarm, &W::cmdDD2LoAlarm, nullptr, nullptr,
     &W::onDD2HiAlarmClicked, &W::onDD2LoAlarmClicked, nullptr, nullptr,
     &W::onDisplay2Clicked, &W::Display2Focus, &FaceView::PicDisplay2Blank},
    {&W::fraDisplay3, &W::ComboDisplay3, &W::LblDisplay3LowAlarm, &W::LblDisplay3HighAlarm, nullptr, nullptr,
     &W::cmdDD3HiAlarm, &W::cmdDD3LoAlarm, nullptr, nullptr,
     &W::onDD3HiAlarmClicked, &W::onDD3LoAlarmClicked, nullptr, nullptr,
     &W::onDisplay3Clicked, &W::Display3Focus, &FaceView::PicDisplay3Blank},
    {&W::fraLeftBar, &W::ComboDisplayLeftBar, &W::LblLeftBarLowAlarm, &W::LblLeftBarHighAlarm,
     &W::LblLeftBarLowerLimit, &W::LblLeftBarUpperLimit,
     &W::cmdDD4HiAlarm, &W::cmdDD4LoAlarm, &W::cmdDD4HiBar, &W::cmdDD4LoBar,
     &W::onDD4HiAlarmClicked, &W::onDD4LoAlarmClicked, &W::onDD4HiBarClicked, &W::onDD4LoBarClicked,
     &W::onDisplayLeftBarClicked, &W::LeftBarFocus, &FaceView::PicDisplay4Blank},
    {&W::fraRightBar, &W::ComboDisplayRightBar, &W::LblRightBarLowAlarm, &W::LblRightBarHighAlarm,
     &W::LblRightBarLowerLimit, &W::LblRightBarUpperLimit,
     &W::cmdDD5HiAlarm, &W::cmdDD5LoAlarm, &W::cmdDD5HiBar, &W::cmdDD5LoBar,
     &W::onDD5HiAlarmClicked, &W::onDD5LoAlarmClicked, &W::onDD5HiBarClicked, &W::onDD5LoBarClicked,
     &W::onDisplayRightBarClicked, &W::RightBarFocus, &FaceView::PicDisplay5Blank},
};
// clang-format on
} // namespace

QGroupBox *MainWindow::buildDataFrame()
{
    fraData = makeFrame(this, QStringLiteral("fraData"), QStringLiteral("Data for Current Configuration #1 "));
    auto *layout = new QVBoxLayout(fraData);
    for (int k = 0; k < displays::kCount; ++k)
        layout->addWidget(buildDisplayFrame(k));
    layout->addStretch(1);

    for (int k = 0; k < displays::kCount; ++k)
        publishDisplay(k);
    cmdDD4HiBar->installEventFilter(this);
    for (int k = 0; k < displays::kCount; ++k)
        connectDisplay(k);
    return fraData;
}

void MainWindow::publishDisplay(int display)
{
    const DisplayMembers &m = kDisplayMembers[display];
    DisplayControls &c = m_display[size_t(display)];
    this->*m.frame = qobject_cast<QGroupBox *>(c.combo->parentWidget());
    this->*m.list = c.combo;
    this->*m.lowAlarm = c.lowAlarm;
    this->*m.highAlarm = c.highAlarm;
    this->*m.hiAlarm = c.hiAlarm;
    this->*m.loAlarm = c.loAlarm;
    if (m.hiBar) {
        this->*m.lowerLimit = c.lowerLimit;
        this->*m.upperLimit = c.upperLimit;
        this->*m.hiBar = c.hiBar;
        this->*m.loBar = c.loBar;
    }
    c.focus = &(this->*m.focus);
    c.highlight = picBrevo->*m.highlight;
}

void MainWindow::connectDisplay(int display)
{
    const DisplayMembers &m = kDisplayMembers[display];
    DisplayControls &c = m_display[size_t(display)];
    connect(c.hiAlarm, &QPushButton::clicked, this, m.hiAlarmClicked);
    connect(c.loAlarm, &QPushButton::clicked, this, m.loAlarmClicked);
    if (c.hiBar) {
        connect(c.hiBar, &QPushButton::clicked, this, m.hiBarClicked);
        connect(c.loBar, &QPushButton::clicked, this, m.loBarClicked);
    }
    // A program step that changes the entry runs the data-source steps as a user's pick would;
    // the user's pick (activated) then also opens the sentence selector.
    connect(c.combo, &QComboBox::currentIndexChanged, this,
            [this, display](int position) { dataSourceChanged(display, position); });
    connect(c.combo, &QComboBox::activated, this, m.listClicked);
    c.combo->installEventFilter(this);
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
