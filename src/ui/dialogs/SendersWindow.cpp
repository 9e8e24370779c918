#include "ui/dialogs/SendersWindow.h"

#include "core/EditorState.h"
#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "ui/Twips.h"
#include "ui/dialogs/ChartWindow.h"
#include "ui/dialogs/CurveGrid.h"
#include "ui/dialogs/WrapButton.h"
#include "ui/editor/FieldMarks.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

using senderlists::SenderList;

namespace
{

constexpr quint8 kNoCurve = 99;
constexpr int kButtonTwips = 1000;
constexpr int kButtonGapTwips = 110; // the grid's left edges are 1100 twips apart
constexpr int kLastGridLeftTwips = 4680;

} // namespace

SendersWindow::SendersWindow(EditorState &state, ImageModel &image, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_state(state), m_image(image), m_prompts(prompts)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmSenders"));
    setWindowTitle(QStringLiteral("View / Select sender types & edit user defined calibration curves"));

    m_engineTempList = makeSenderList(SenderList::EngineTemp, QStringLiteral("cboEngineTempSender"));
    m_fuelSenderList = makeSenderList(SenderList::Fuel, QStringLiteral("cboFuelSender"));
    m_oilPressureList = makeSenderList(SenderList::OilPressure, QStringLiteral("cboOilPressureSender"));
    m_trimList = makeSenderList(SenderList::Trim, QStringLiteral("cboTrimSender"));
    m_secondTankList = makeSenderList(SenderList::SecondTank, QStringLiteral("cbo2ndTankSender"));
    m_engineTempLabel =
        makeLabel(QStringLiteral("Engine Temperature"), QStringLiteral("lblEngineTempSender"), m_engineTempList);
    m_fuelSenderLabel = makeLabel(QStringLiteral("Fuel Tank"), QStringLiteral("lblFuelSender"), m_fuelSenderList);
    m_oilPressureLabel =
        makeLabel(QStringLiteral("Oil Pressure"), QStringLiteral("lblOilPressureSender"), m_oilPressureList);
    m_trimLabel = makeLabel(QStringLiteral("Optional Trim Angle"), QStringLiteral("lblTrimSender"), m_trimList);
    m_secondTankLabel =
        makeLabel(QStringLiteral("Optional 2'nd Tank Level"), QStringLiteral("lbl2ndTankSender"), m_secondTankList);

    m_unitsGroup = new QGroupBox(QStringLiteral("Units of Measure"), this);
    m_unitsGroup->setObjectName(QStringLiteral("fraUnitsOfMeasure"));
    m_pressureUnitLabel = makeLabel(QString(), QStringLiteral("lblSendersUofMPressure"), nullptr);
    m_temperatureUnitLabel = makeLabel(QString(), QStringLiteral("lblSendersUofMTemperature"), nullptr);

    m_editCurvesGroup = new QGroupBox(QStringLiteral("View/Edit User Defined Sender Curves"), this);
    m_editCurvesGroup->setObjectName(QStringLiteral("fraEditCurves"));
    m_editEngineTempButton =
        makeButton(QStringLiteral("   Engine    Temp."), QStringLiteral("cmdEditCurve6"), kButtonTwips);
    m_editFuelButton = makeButton(QStringLiteral("    Fuel    Tank"), QStringLiteral("cmdEditCurve9"), kButtonTwips);
    m_editOilPressureButton =
        makeButton(QStringLiteral("   Oil    Pressure"), QStringLiteral("cmdEditCurve16"), kButtonTwips);
    m_editTrimButton = makeButton(QStringLiteral("    Trim     Angle"), QStringLiteral("cmdEditCurve19"), kButtonTwips);
    m_editSecondTankButton =
        makeButton(QStringLiteral("2'nd Tank Level"), QStringLiteral("cmdEditCurve25"), kButtonTwips);

    m_commandsGroup = new QGroupBox(QStringLiteral("Commands"), this);
    m_commandsGroup->setObjectName(QStringLiteral("fraCommands"));
    m_viewGraphButton = makeButton(QStringLiteral("View Graph"), QStringLiteral("cmdSendersView"), kButtonTwips);
    m_exitButton = makeButton(QStringLiteral("   Done /  Exit"), QStringLiteral("cmdSendersExit"), kButtonTwips);
    m_viewGraphButton->setEnabled(false);

    buildGrid();
    setLayout(buildLayout());
    // Reading order: the lists, the Edit buttons, the grid of the curve they load, the commands.
    setTabOrder(m_editSecondTankButton, m_curveGrid);
    setTabOrder(m_curveGrid, m_viewGraphButton);
    setTabOrder(m_viewGraphButton, m_exitButton);

    connect(m_editEngineTempButton, &QPushButton::clicked, this, &SendersWindow::onEditCurve6Clicked);
    connect(m_editFuelButton, &QPushButton::clicked, this, &SendersWindow::onEditCurve9Clicked);
    connect(m_editOilPressureButton, &QPushButton::clicked, this, &SendersWindow::onEditCurve16Clicked);
    connect(m_editTrimButton, &QPushButton::clicked, this, &SendersWindow::onEditCurve19Clicked);
    connect(m_editSecondTankButton, &QPushButton::clicked, this, &SendersWindow::onEditCurve25Clicked);
    connect(m_viewGraphButton, &QPushButton::clicked, this, &SendersWindow::onSendersViewClicked);
    connect(m_exitButton, &QPushButton::clicked, this, &SendersWindow::onSendersExitClicked);
    connect(&m_image, &ImageModel::imageReplaced, this, &SendersWindow::showImage);

    // The unit state follows the image until the settings menu sets it.
    setPressureInBars(m_image.pressureInBars());
    setTemperatureInCelsius(m_image.temperatureInCelsius());
    positionListsFromState();
}

QComboBox *SendersWindow::makeSenderList(SenderList list, const QString &name)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->addItems(senderlists::entries(list));
    combo->setCurrentIndex(0);
    combo->installEventFilter(this);
    return combo;
}

QLabel *SendersWindow::makeLabel(const QString &caption, const QString &name, QWidget *buddy)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    if (buddy) {
        label->setBuddy(buddy);
        buddy->setAccessibleName(caption);
    }
    return label;
}

QPushButton *SendersWindow::makeButton(const QString &caption, const QString &name, int widthTwips)
{
    auto *button = new WrapButton(caption, widthTwips, this);
    button->setObjectName(name);
    return button;
}

QLayout *SendersWindow::buildLayout()
{
    auto *lists = new QVBoxLayout;
    lists->setSpacing(2);
    const std::pair<QLabel *, QComboBox *> rows[] = {{m_engineTempLabel, m_engineTempList},
                                                     {m_fuelSenderLabel, m_fuelSenderList},
                                                     {m_oilPressureLabel, m_oilPressureList},
                                                     {m_trimLabel, m_trimList},
                                                     {m_secondTankLabel, m_secondTankList}};
    for (const auto &[label, combo] : rows) {
        lists->addWidget(label);
        lists->addWidget(combo);
        lists->addSpacing(6);
    }
    lists->addStretch();

    auto *units = new QVBoxLayout(m_unitsGroup);
    units->addWidget(m_pressureUnitLabel);
    units->addWidget(m_temperatureUnitLabel);

    auto *edit = new QHBoxLayout(m_editCurvesGroup);
    edit->setSpacing(twips::toPixels(kButtonGapTwips));
    for (QPushButton *b :
         {m_editEngineTempButton, m_editFuelButton, m_editOilPressureButton, m_editTrimButton, m_editSecondTankButton})
        edit->addWidget(b);
    edit->addStretch();

    auto *commands = new QHBoxLayout(m_commandsGroup);
    commands->setSpacing(twips::toPixels(kButtonGapTwips));
    commands->addWidget(m_viewGraphButton);
    commands->addWidget(m_exitButton);

    auto *unitsAndCommands = new QHBoxLayout;
    unitsAndCommands->addWidget(m_unitsGroup, 1);
    unitsAndCommands->addWidget(m_commandsGroup);

    // The grid drops at the left edge of the curve being edited, from the window's top down
    // to the Edit buttons (placeGrid). Its column is as wide as the grid at its rightmost
    // place; the lists stand to the right of it, where the grid never covers them.
    auto *layout = new QGridLayout;
    const int leftMargin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, this);
    layout->addItem(new QSpacerItem(twips::toPixels(kLastGridLeftTwips) + gridWidth() - leftMargin, 0,
                                    QSizePolicy::Fixed, QSizePolicy::Minimum),
                    0, 0);
    layout->addLayout(lists, 0, 1);
    layout->addWidget(m_editCurvesGroup, 1, 0);
    layout->addLayout(unitsAndCommands, 1, 1);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    m_layout = layout;
    return layout;
}

void SendersWindow::buildGrid()
{
    // Not in the layout: the grid drops over the lists at the left edge of the curve
    // being edited, as designed.
    m_curveGrid = new CurveGrid(m_state, m_image, m_prompts, this);
    m_curveGrid->hide();
    connect(m_curveGrid, &CurveGrid::pointTyped, this, &SendersWindow::updateOpenChart);
}

int SendersWindow::gridWidth() const
{
    return m_curveGrid->fullWidth();
}

QComboBox *SendersWindow::listFor(SenderList list) const
{
    switch (list) {
    case SenderList::EngineTemp:
        return m_engineTempList;
    case SenderList::Fuel:
        return m_fuelSenderList;
    case SenderList::OilPressure:
        return m_oilPressureList;
    case SenderList::Trim:
        return m_trimList;
    case SenderList::SecondTank:
        return m_secondTankList;
    }
    return m_engineTempList;
}

void SendersWindow::setFieldMarks(FieldMarks *marks)
{
    m_curveGrid->setFieldMarks(marks);
    if (!marks)
        return;
    for (SenderList list : senderlists::kAllLists)
        marks->attach(listFor(list), {fields::senderTypeFieldName(list)});
    // An Edit button stands for every point of its curve.
    const std::pair<QPushButton *, int> buttons[] = {{m_editEngineTempButton, 6},
                                                     {m_editFuelButton, 9},
                                                     {m_editOilPressureButton, 16},
                                                     {m_editTrimButton, 19},
                                                     {m_editSecondTankButton, 25}};
    for (const auto &[button, curve] : buttons) {
        QStringList points;
        for (int p = 1; p <= 32; ++p)
            points << fields::curvePointFieldName(curve, p);
        marks->attach(button, points);
    }
}

void SendersWindow::open()
{
    twips::placeWindow(this, 500, 2500);
    show();
    raise();
    activateWindow();
}

void SendersWindow::positionListsFromState()
{
    const SenderListPositions &p = m_state.senderPositions;
    const std::pair<SenderList, int> positions[] = {{SenderList::EngineTemp, p.engineTemp},
                                                    {SenderList::Fuel, p.fuel},
                                                    {SenderList::OilPressure, p.oilPressure},
                                                    {SenderList::Trim, p.trim},
                                                    {SenderList::SecondTank, p.secondTank}};
    for (const auto &[list, position] : positions) {
        QComboBox *combo = listFor(list);
        combo->setCurrentIndex(position < 0 || position >= combo->count() ? 0 : position);
    }
}

void SendersWindow::setPressureInBars(bool bars)
{
    const bool changed = bars != m_bars;
    m_bars = bars;
    m_curveGrid->setUnits(m_celsius, m_bars);
    m_pressureUnitLabel->setText(bars ? QStringLiteral("Pressure:  Bars") : QStringLiteral("Pressure:  PSI"));
    // The grid must show the loaded curve in the unit its numbers will be read back
    // in, or the next store-back would convert PSI numbers as bar.
    if (changed && curveLoaded() && m_state.session.editCurveNumber == 16)
        showValueColumn();
}

void SendersWindow::setTemperatureInCelsius(bool celsius)
{
    const bool changed = celsius != m_celsius;
    m_celsius = celsius;
    m_curveGrid->setUnits(m_celsius, m_bars);
    m_temperatureUnitLabel->setText(celsius ? QStringLiteral("Temperature:  Deg C")
                                            : QStringLiteral("Temperature:  Deg F"));
    if (changed && curveLoaded() && m_state.session.editCurveNumber == 6)
        showValueColumn();
}

QString SendersWindow::gridText(int row, int col) const
{
    return m_curveGrid->text(row, col);
}

bool SendersWindow::curveLoaded() const
{
    return m_state.session.editCurveNumber >= 1 && m_state.session.editCurveNumber <= 32;
}

void SendersWindow::placeGrid()
{
    const int bottom = m_editCurvesGroup->geometry().top() - qMax(m_layout->verticalSpacing(), 0);
    m_curveGrid->setGeometry(twips::toPixels(m_gridLeftTwips), 0, gridWidth(), qMax(bottom, 0));
}

void SendersWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeGrid();
}

// --- loading a curve ---------------------------------------------------------------

void SendersWindow::onEditCurve6Clicked()
{
    loadCurve(6, 270);
}
void SendersWindow::onEditCurve9Clicked()
{
    loadCurve(9, 1380);
}
void SendersWindow::onEditCurve16Clicked()
{
    loadCurve(16, 2480);
}
void SendersWindow::onEditCurve19Clicked()
{
    loadCurve(19, 3580);
}
void SendersWindow::onEditCurve25Clicked()
{
    loadCurve(25, kLastGridLeftTwips);
}

void SendersWindow::loadCurve(int curve, int leftTwips)
{
    m_gridLeftTwips = leftTwips;
    placeGrid();
    m_curveGrid->show();
    m_curveGrid->raise();
    m_state.session.editCurveNumber = quint8(curve);
    m_curveGrid->showCurve();
    m_graphCurveNumber = curve;
    m_viewGraphButton->setEnabled(true);
    if (m_curveGrid->currentColumn() < 1)
        m_curveGrid->setCurrentCell(0, 1);
    m_curveGrid->setFocus(Qt::OtherFocusReason);
}

void SendersWindow::showImage()
{
    // The grid's cells are stored by typing only, so showing them stores nothing.
    if (!curveLoaded() || m_curveGrid->isHidden())
        return;
    m_curveGrid->showCurve();
}

void SendersWindow::showValueColumn()
{
    m_curveGrid->showValues();
}

bool SendersWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Returning from the list's own popup or from another window is no new focus.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == m_engineTempList)
                onEngineTempSenderFocusIn();
            else if (watched == m_fuelSenderList)
                onFuelSenderFocusIn();
            else if (watched == m_oilPressureList)
                onOilPressureSenderFocusIn();
            else if (watched == m_trimList)
                onTrimSenderFocusIn();
            else if (watched == m_secondTankList)
                on2ndTankSenderFocusIn();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SendersWindow::onGridKeyPress(int keyAscii)
{
    m_curveGrid->typeKey(keyAscii);
}

void SendersWindow::updateOpenChart()
{
    if (m_chart && m_chart->isVisible() && m_chart->curveNumber() == m_state.session.editCurveNumber)
        m_chart->plotCurve(m_chart->curveNumber(), curveName(m_chart->curveNumber()));
}

// --- store-back when a sender list receives the focus --------------------------------

void SendersWindow::onEngineTempSenderFocusIn()
{
    storeBack();
}
void SendersWindow::onFuelSenderFocusIn()
{
    storeBack();
}
void SendersWindow::onOilPressureSenderFocusIn()
{
    storeBack();
}
void SendersWindow::onTrimSenderFocusIn()
{
    storeBack();
}
void SendersWindow::on2ndTankSenderFocusIn()
{
    storeBack();
}

void SendersWindow::storeBack()
{
    m_curveGrid->hide();
    if (!curveLoaded())
        return;
    m_curveGrid->storeAll();
    m_viewGraphButton->setEnabled(false);
    updateOpenChart();
}

// --- commands ----------------------------------------------------------------------------

void SendersWindow::onSendersViewClicked()
{
    if (!m_chart)
        m_chart = new ChartWindow(m_image, m_prompts, this);
    // Beside this window, never over the grid and lists the user is working with.
    const QRect here = twips::globalRect(this);
    m_chart->showCurve(m_graphCurveNumber, curveName(m_graphCurveNumber), {here, here.top(), {here}});
}

QString SendersWindow::curveName(int curve) const
{
    for (SenderList list : senderlists::kAllLists) {
        const QStringList &entries = senderlists::entries(list);
        for (int i = 1; i < entries.size(); ++i) {
            if (senderlists::typeForPosition(list, i) == curve)
                return entries.at(i);
        }
    }
    return QString();
}

void SendersWindow::onSendersExitClicked()
{
    for (SenderList list : senderlists::kAllLists)
        m_image.setSenderType(list, quint8(senderlists::typeForPosition(list, listFor(list)->currentIndex())));
    hide();
    m_curveGrid->hide();
    m_state.session.editCurveNumber = kNoCurve;
    m_viewGraphButton->setEnabled(false);
}

void SendersWindow::hideEvent(QHideEvent *event)
{
    // Minimising is no hiding: the grid stays as it was.
    if (!event->spontaneous()) {
        m_curveGrid->hide();
        m_viewGraphButton->setEnabled(false);
    }
    QWidget::hideEvent(event);
}
