#include "ui/dialogs/SendersWindow.h"

#include "core/CurveValues.h"
#include "core/EditorState.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/Twips.h"
#include "ui/dialogs/ChartWindow.h"
#include "ui/dialogs/WrapButton.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

using senderlists::SenderList;

namespace
{

constexpr quint8 kNoCurve = 99;
constexpr int kPoints = 32;
constexpr int kOhmsColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kBackspace = 8;
constexpr int kIndexColumnTwips = 500;
constexpr int kDataColumnTwips = 1100;
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
    m_curveGrid = new QTableWidget(kPoints, 3, this);
    m_curveGrid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_curveGrid->setAccessibleName(QStringLiteral("Calibration curve points"));
    m_curveGrid->setHorizontalHeaderLabels({QStringLiteral("Index"), QStringLiteral("Ohms"), QStringLiteral("Value")});
    m_curveGrid->verticalHeader()->hide();
    m_curveGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_curveGrid->horizontalHeader()->setHighlightSections(false);
    // The designed 500 twips, unless the heading would be cut off in this font.
    const int headingWidth = m_curveGrid->horizontalHeader()->sectionSizeHint(0);
    m_curveGrid->setColumnWidth(0, qMax(twips::toPixels(kIndexColumnTwips), headingWidth));
    m_curveGrid->setColumnWidth(kOhmsColumn, twips::toPixels(kDataColumnTwips));
    m_curveGrid->setColumnWidth(kValueColumn, twips::toPixels(kDataColumnTwips));
    m_curveGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_curveGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_curveGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_curveGrid->setTabKeyNavigation(false);
    m_curveGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_curveGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_curveGrid->setFrameShadow(QFrame::Plain);
    m_curveGrid->verticalHeader()->setMinimumSectionSize(1);
    m_curveGrid->verticalHeader()->setDefaultSectionSize(m_curveGrid->fontMetrics().height() + 4);

    for (int r = 0; r < kPoints; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (c == 0) {
                // A fixed column like the headings: shaded, never the current cell.
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(palette().button());
                item->setForeground(palette().buttonText());
            }
            m_curveGrid->setItem(r, c, item);
        }
    }
    m_curveGrid->setCurrentCell(0, kOhmsColumn);
    m_curveGrid->installEventFilter(this);
    m_curveGrid->hide();
}

int SendersWindow::gridWidth() const
{
    return 2 * m_curveGrid->frameWidth() + m_curveGrid->columnWidth(0) + m_curveGrid->columnWidth(kOhmsColumn) +
           m_curveGrid->columnWidth(kValueColumn) + m_curveGrid->verticalScrollBar()->sizeHint().width();
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
    m_temperatureUnitLabel->setText(celsius ? QStringLiteral("Temperature:  Deg C")
                                            : QStringLiteral("Temperature:  Deg F"));
    if (changed && curveLoaded() && m_state.session.editCurveNumber == 6)
        showValueColumn();
}

QString SendersWindow::gridText(int row, int col) const
{
    if (col < 0 || col > 2 || row < 0 || row > kPoints)
        return QString();
    if (row == 0)
        return m_curveGrid->horizontalHeaderItem(col)->text();
    return m_curveGrid->item(row - 1, col)->text();
}

bool SendersWindow::curveLoaded() const
{
    return m_state.session.editCurveNumber >= 1 && m_state.session.editCurveNumber <= 32;
}

void SendersWindow::setCell(int row, int col, const QString &text)
{
    QTableWidgetItem *item = m_curveGrid->item(row - 1, col);
    item->setText(text);
    item->setTextAlignment(Qt::AlignCenter);
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
    for (int p = 1; p <= kPoints; ++p) {
        setCell(p, 0, QString::number(p));
        setCell(p, kOhmsColumn, numtext::floatText(m_image.curveOhms(curve, p)));
        setCell(p, kValueColumn, curvevalues::valueText(curve, m_image.curveValue(curve, p), m_celsius, m_bars));
    }
    m_state.session.editCurveNumber = quint8(curve);
    m_graphCurveNumber = curve;
    m_viewGraphButton->setEnabled(true);
    if (m_curveGrid->currentColumn() < kOhmsColumn)
        m_curveGrid->setCurrentCell(0, kOhmsColumn);
    m_curveGrid->setFocus(Qt::OtherFocusReason);
}

void SendersWindow::showImage()
{
    // The grid's cells are stored by typing only, so showing them stores nothing.
    if (!curveLoaded() || m_curveGrid->isHidden())
        return;
    const int curve = m_state.session.editCurveNumber;
    for (int p = 1; p <= kPoints; ++p)
        setCell(p, kOhmsColumn, numtext::floatText(m_image.curveOhms(curve, p)));
    showValueColumn();
}

void SendersWindow::showValueColumn()
{
    const int curve = m_state.session.editCurveNumber;
    for (int p = 1; p <= kPoints; ++p)
        setCell(p, kValueColumn, curvevalues::valueText(curve, m_image.curveValue(curve, p), m_celsius, m_bars));
}

// --- typing in the grid --------------------------------------------------------------

bool SendersWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_curveGrid && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Focus keys and keys that type nothing (arrows, Page Up, ...) keep their
        // usual meaning; everything that types a character is the grid's.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
            (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (key->key() == Qt::Key_Backspace) {
            onGridKeyPress(kBackspace);
            return true;
        }
        const QString typed = key->text();
        if (typed.isEmpty())
            return false;
        for (const QChar c : typed)
            onGridKeyPress(c.unicode());
        return true;
    }
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
    const bool digitOrPoint = (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '.';
    if (!digitOrPoint && keyAscii != kBackspace) {
        m_prompts.beep();
        return;
    }
    const int row = m_curveGrid->currentRow() + 1;
    const int col = m_curveGrid->currentColumn();
    if (row < 1 || col < 0)
        return;
    QString text = gridText(row, col);
    if (digitOrPoint)
        text += QChar(keyAscii);
    else if (!text.isEmpty())
        text.chop(1);
    setCell(row, col, text);
    // 99: the image was replaced while the grid still showed the old curve.
    if (!curveLoaded())
        return;
    storeCell(row, col);
    updateOpenChart();
}

void SendersWindow::storeCell(int row, int col)
{
    const int curve = m_state.session.editCurveNumber;
    // The grid's numbers are typed (digits and ".") or written by loadCurve, which
    // writes very large and very small numbers with an exponent: those read back whole.
    const double number = numtext::floatTextNumber(gridText(row, col));
    if (col == kValueColumn)
        m_image.setCurveValue(curve, row, curvevalues::storedValue(curve, number, m_celsius, m_bars));
    else if (col == kOhmsColumn)
        m_image.setCurveOhms(curve, row, curvevalues::toSingle(number));
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
    for (int p = 1; p <= kPoints; ++p) {
        storeCell(p, kOhmsColumn);
        storeCell(p, kValueColumn);
    }
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
