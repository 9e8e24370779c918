#include "ui/editor/SourcesController.h"

#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/EditorState.h"
#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/FaceView.h"
#include "ui/editor/FieldMarks.h"
#include "ui/editor/MakeWidgets.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

double clampToWord(double v)
{
    return std::clamp(v, 0.0, 65535.0);
}

quint16 toWord(double v)
{
    return quint16(std::clamp<qint64>(numtext::roundHalfEven(v), 0, 65535));
}

// A typed limit as the instrument keeps it: scaled by its decimal places, the largest
// value with decimals being `maxOneDecimal` or `maxTwoDecimals`.
quint16 storedLimit(const QString &text, int decimals, double maxTwoDecimals)
{
    double v = clampToWord(numtext::leadingNumber(text));
    if (decimals == 1)
        v = qMin(v, 6553.5) * 10.0;
    else if (decimals == 2)
        v = qMin(v, maxTwoDecimals) * 100.0;
    return toWord(v);
}

// The alarm limits of a data-source code: the first of its four system block bytes (0 for
// a source without alarms), its decimals and the two limits as shown.
struct AlarmLimits {
    int first = 0;
    int decimals = 0;
    QString low, high;
    bool none() const { return first == 0; }
};

AlarmLimits alarmLimits(const ImageModel &image, int code)
{
    const datasources::AlarmSlot slot = datasources::alarmSlot(code);
    AlarmLimits limits;
    limits.first = slot.first;
    limits.decimals = slot.decimals;
    limits.low = datasources::formatStored(image.alarmLimit(code, ImageModel::Limit::Low), slot.decimals);
    limits.high = datasources::formatStored(image.alarmLimit(code, ImageModel::Limit::High), slot.decimals);
    return limits;
}

// The two bar limits of bar display `display` in configuration `config`, as shown.
struct BarLimits {
    int decimals = 0;
    QString lower, upper;
};

BarLimits barLimits(const ImageModel &image, int config, int display)
{
    BarLimits limits;
    limits.decimals = datasources::barDecimals(image.dataSource(config, display));
    limits.lower = datasources::formatStored(image.barLimit(config, display, ImageModel::Limit::Low), limits.decimals);
    limits.upper = datasources::formatStored(image.barLimit(config, display, ImageModel::Limit::High), limits.decimals);
    return limits;
}

} // namespace

SourcesController::SourcesController(EditorState &state, ImageModel &image, Prompts &prompts, FaceController &face,
                                     QObject *parent)
    : QObject(parent), m_state(state), m_image(image), m_prompts(prompts), m_face(face)
{
}

// --- construction ----------------------------------------------------------------------------

QGroupBox *SourcesController::build(QWidget *parent)
{
    m_frame = ui::makeFrame(parent, QStringLiteral("fraData"), QStringLiteral("Data for Current Configuration #1 "));
    auto *layout = new QVBoxLayout(m_frame);
    for (int k = 0; k < displays::kCount; ++k)
        layout->addWidget(buildDisplayFrame(m_frame, k));
    layout->addStretch(1);
    for (int k = 0; k < displays::kCount; ++k)
        connectDisplay(k);
    m_display[3].hiBar->installEventFilter(this);
    return m_frame;
}

QGroupBox *SourcesController::buildDisplayFrame(QWidget *parent, int display)
{
    const displays::DisplayDef &def = displays::kDisplays[display];
    const QString title = QLatin1String(def.frameTitle);
    QGroupBox *frame = ui::makeFrame(parent, QLatin1String(def.frameName), title);
    Display &c = m_display[size_t(display)];
    c.highlight = m_face.face()->element(QStringLiteral("PicDisplay%1Blank").arg(display + 1));

    const QFontMetrics fm = parent->fontMetrics();
    auto *from =
        ui::makeLabel(frame, QStringLiteral("lblDataFrom%1").arg(display + 1), QStringLiteral("Display Data from: "));
    c.list = new QComboBox(frame);
    c.list->setObjectName(QLatin1String(def.list));
    c.list->setAccessibleName(title + QStringLiteral(" data source"));
    c.list->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Other source (code 255)")) + 40);
    c.list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    from->setBuddy(c.list);

    const int alarmWidth = fm.horizontalAdvance(QStringLiteral("High Alarm Limit: 65535.0")) + 6;
    c.highAlarm = ui::makeLabel(frame, QLatin1String(def.highAlarmLabel), QStringLiteral("High Alarm Limit: 0"));
    c.lowAlarm = ui::makeLabel(frame, QLatin1String(def.lowAlarmLabel), QStringLiteral("Low Alarm Limit: 0"));
    c.highAlarm->setMinimumWidth(alarmWidth);
    c.lowAlarm->setMinimumWidth(alarmWidth);
    c.hiAlarm = ui::makeButton(frame, QLatin1String(def.hiAlarmButton), QStringLiteral("Change"),
                               QStringLiteral("Change High Alarm Limit of ") + title);
    c.loAlarm = ui::makeButton(frame, QLatin1String(def.loAlarmButton), QStringLiteral("Change"),
                               QStringLiteral("Change Low Alarm Limit of ") + title);

    auto *grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(10);
    grid->addWidget(from, 0, 0);
    grid->addWidget(c.list, 1, 0);
    grid->addWidget(c.highAlarm, 0, 1);
    grid->addWidget(c.hiAlarm, 0, 2);
    grid->addWidget(c.lowAlarm, 1, 1);
    grid->addWidget(c.loAlarm, 1, 2);
    if (def.isBar)
        addBarLimits(frame, display);
    grid->setColumnStretch(6, 1);
    return frame;
}

void SourcesController::addBarLimits(QGroupBox *frame, int display)
{
    const displays::DisplayDef &def = displays::kDisplays[display];
    const QString title = QLatin1String(def.frameTitle);
    Display &c = m_display[size_t(display)];
    const int limitWidth = frame->fontMetrics().horizontalAdvance(QStringLiteral("Upper Bar Limit: 65535.0")) + 6;
    c.upperLimit = ui::makeLabel(frame, QLatin1String(def.upperLimitLabel), QStringLiteral("Upper Bar Limit: 0"));
    c.lowerLimit = ui::makeLabel(frame, QLatin1String(def.lowerLimitLabel), QStringLiteral("Lower Bar Limit: 0"));
    c.upperLimit->setMinimumWidth(limitWidth);
    c.lowerLimit->setMinimumWidth(limitWidth);
    c.hiBar = ui::makeButton(frame, QLatin1String(def.hiBarButton), QStringLiteral("Change"),
                             QStringLiteral("Change Upper Bar Limit of ") + title);
    c.loBar = ui::makeButton(frame, QLatin1String(def.loBarButton), QStringLiteral("Change"),
                             QStringLiteral("Change Lower Bar Limit of ") + title);
    auto *grid = static_cast<QGridLayout *>(frame->layout());
    grid->addItem(new QSpacerItem(12, 1, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 3);
    grid->addWidget(c.upperLimit, 0, 4);
    grid->addWidget(c.hiBar, 0, 5);
    grid->addWidget(c.lowerLimit, 1, 4);
    grid->addWidget(c.loBar, 1, 5);
}

void SourcesController::connectDisplay(int display)
{
    const Display &c = m_display[size_t(display)];
    connect(c.hiAlarm, &QPushButton::clicked, this, [this, display] { changeAlarm(display, true); });
    connect(c.loAlarm, &QPushButton::clicked, this, [this, display] { changeAlarm(display, false); });
    if (c.hiBar) {
        connect(c.hiBar, &QPushButton::clicked, this, [this, display] { changeBarLimit(display, true); });
        connect(c.loBar, &QPushButton::clicked, this, [this, display] { changeBarLimit(display, false); });
    }
    // A program step that changes the entry runs the data-source steps as a user's pick would;
    // the user's pick (activated) then also opens the sentence selector.
    connect(c.list, &QComboBox::currentIndexChanged, this,
            [this, display](int position) { sourceChanged(display, position); });
    connect(c.list, &QComboBox::activated, this, [this, display] { sourceClicked(display); });
    c.list->installEventFilter(this);
}

QList<QWidget *> SourcesController::tabOrder() const
{
    QList<QWidget *> chain;
    for (const Display &c : m_display) {
        chain << c.list << c.hiAlarm << c.loAlarm;
        if (c.hiBar)
            chain << c.hiBar << c.loBar;
    }
    return chain;
}

void SourcesController::setCaption(int config)
{
    setCaptionText(QStringLiteral("Data for Current Configuration #") + numtext::signedText(qint64(config)) +
                   QStringLiteral(" "));
}

void SourcesController::setCaptionText(const QString &title)
{
    m_frame->setTitle(title);
    m_frame->setAccessibleName(title.trimmed());
}

// --- lists ------------------------------------------------------------------------------------

bool SourcesController::isFirstRun() const
{
    return m_display[0].list->count() <= 1;
}

void SourcesController::fillLists()
{
    for (const Display &c : m_display) {
        if (c.list->count() >= displays::kListEntries)
            continue;
        // Filling is not a choice: nothing is stored until the view selects the entries.
        const QSignalBlocker blocker(c.list);
        c.list->clear();
        c.list->addItems(datasources::listEntries());
        c.list->setCurrentIndex(-1);
    }
}

void SourcesController::storeSource(int display, int position)
{
    if (position == displays::kOtherPosition)
        return; // the extra entry stands for the code already stored
    int code = 0;
    if (position >= 1 && position <= 8)
        code = position + displays::kNmeaCodeOffset;
    m_image.setDataSource(m_face.currentBlock(), display, quint8(code));
}

// A stored code the lists do not offer (9..22, above 30) is shown as an extra, marked entry and
// kept as it is; it changes only when the user picks another entry.
void SourcesController::refreshLists()
{
    for (int k = 0; k < displays::kCount; ++k) {
        QComboBox *list = m_display[size_t(k)].list;
        const int code = m_image.dataSource(m_face.currentBlock(), k);
        int position;
        bool other = false;
        if (code == 0)
            position = 0;
        else if (code >= 23 && code <= 30)
            position = code - displays::kNmeaCodeOffset;
        else if (code >= 1 && code <= 8)
            position = code; // rewritten as that NMEA input's code when the entry changes
        else {
            other = true;
            position = displays::kOtherPosition;
            const QString text = datasources::sourceText(code);
            const QSignalBlocker blocker(list);
            if (list->count() <= displays::kOtherPosition)
                list->addItem(text);
            else
                list->setItemText(displays::kOtherPosition, text);
        }
        if (list->currentIndex() != position)
            list->setCurrentIndex(position); // runs the data-source steps, as a pick does
        if (!other)
            removeOtherSourceEntry(k);
    }

    const int block = m_face.currentBlock();
    std::array<int, 5> codes{};
    for (int k = 0; k < displays::kCount; ++k)
        codes[size_t(k)] = m_image.dataSource(block, k);
    m_face.face()->setSources(codes);
}

void SourcesController::removeOtherSourceEntry(int display)
{
    QComboBox *list = m_display[size_t(display)].list;
    if (list->count() <= displays::kOtherPosition || list->currentIndex() == displays::kOtherPosition)
        return;
    const QSignalBlocker blocker(list);
    list->removeItem(displays::kOtherPosition);
}

// A changed entry, by the user or by the view refresh: store the code and redraw.
void SourcesController::sourceChanged(int display, int position)
{
    if (position < 0)
        return;
    storeSource(display, position);
    if (onRedraw)
        onRedraw();
    m_state.nmea.monitorRunning = false;
}

// The user picked an entry (also the one already shown): the data-source steps, then the NMEA
// sentence selector for an NMEA input. Only a user's pick opens it; a redraw never pops it up.
void SourcesController::sourceClicked(int display)
{
    const int position = m_display[size_t(display)].list->currentIndex();
    if (position < 0)
        return;
    sourceChanged(display, position);
    if (position < 1 || position > 8) {
        if (onHideNmeaWindows)
            onHideNmeaWindows();
        return;
    }
    if (onNmeaSourcePicked)
        onNmeaSourcePicked(display, position, besideDataPanel(display));
}

// The selector opens beside the data panel, level with the display whose list opened it,
// where it covers neither that list nor "Clear Configuration": to the right of the main
// window, or where the screen leaves no room there, to the left of the panel, below or
// above it.
twips::Beside SourcesController::besideDataPanel(int display) const
{
    QRect panel = twips::globalRect(m_frame);
    panel.setRight(m_frame->window()->frameGeometry().right());
    const auto *frame = m_frame->findChild<QWidget *>(QLatin1String(displays::kDisplays[display].frameName));
    const int top = frame ? twips::globalRect(frame).top() : panel.top();
    return {panel,
            top,
            {twips::globalRect(m_display[size_t(display)].list), twips::globalRect(m_face.clearConfigurationButton())}};
}

// --- alarm and bar limits ----------------------------------------------------------------------

void SourcesController::showLimits()
{
    const int block = m_face.currentBlock();
    for (int k = 0; k < displays::kCount; ++k) {
        const displays::DisplayDef &def = displays::kDisplays[k];
        const Display &c = m_display[size_t(k)];
        const AlarmLimits alarms = alarmLimits(m_image, m_image.dataSource(block, k));
        c.lowAlarm->setText(QStringLiteral("Low Alarm Limit: ") + alarms.low);
        c.highAlarm->setText(QStringLiteral("High Alarm Limit: ") + alarms.high);
        c.hiAlarm->setEnabled(!alarms.none());
        c.loAlarm->setEnabled(!alarms.none());
        if (def.isBar) {
            const BarLimits bars = barLimits(m_image, block, k);
            c.lowerLimit->setText(QStringLiteral("Lower Bar Limit: ") + bars.lower);
            c.upperLimit->setText(QStringLiteral("Upper Bar Limit: ") + bars.upper);
        }
        attachMarks(k, block);
    }
}

void SourcesController::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    showLimits();
}

void SourcesController::attachMarks(int display, int block)
{
    if (!m_marks)
        return;
    const Display &c = m_display[size_t(display)];
    const int code = m_image.dataSource(block, display);
    const auto names = [](const QString &field) { return field.isEmpty() ? QStringList() : QStringList{field}; };
    m_marks->attach(c.list, {fields::sourceFieldName(block, display)});
    for (const bool high : {true, false}) {
        const QStringList limit = names(fields::alarmLimitFieldName(code, high));
        m_marks->attach(high ? c.highAlarm : c.lowAlarm, limit);
        m_marks->attach(high ? c.hiAlarm : c.loAlarm, limit);
        if (!c.hiBar)
            continue;
        const QStringList bar{fields::barLimitFieldName(block, display, high)};
        m_marks->attach(high ? c.upperLimit : c.lowerLimit, bar);
        m_marks->attach(high ? c.hiBar : c.loBar, bar);
    }
}

void SourcesController::changeAlarm(int display, bool high)
{
    const int code = m_image.dataSource(m_face.currentBlock(), display);
    const AlarmLimits alarms = alarmLimits(m_image, code);
    if (alarms.none())
        return; // the buttons are disabled for such a source; nothing could be stored
    const QString answer = m_prompts.inputBox(high ? QStringLiteral("Enter new High Alarm Value below:")
                                                   : QStringLiteral("Enter new Low Alarm Value below:"),
                                              QStringLiteral("Enter Value"), high ? alarms.high : alarms.low);
    if (answer.isEmpty())
        return;
    // Only the alarm table is a target.
    const int first = alarms.first + (high ? 2 : 0);
    if (first < layout::kAlarmLimits || first + 1 > layout::kAlarmLimitsLast)
        return;
    m_image.setAlarmLimit(code, high ? ImageModel::Limit::High : ImageModel::Limit::Low,
                          storedLimit(answer, alarms.decimals, 655.35));
    showLimits();
}

void SourcesController::changeBarLimit(int display, bool upper)
{
    const int block = m_face.currentBlock();
    const BarLimits bars = barLimits(m_image, block, display);
    const QString answer = m_prompts.inputBox(upper ? QStringLiteral("Enter new Upper Bar Limit value below:")
                                                    : QStringLiteral("Enter new Lower Bar Limit value below:"),
                                              QStringLiteral("Enter Value"), upper ? bars.upper : bars.lower);
    if (answer.isEmpty())
        return;
    // 655.3 for bar limits, not 655.35 as for alarms.
    const quint16 stored = storedLimit(answer, bars.decimals, 655.3);
    m_image.setBarLimit(block, display, upper ? ImageModel::Limit::High : ImageModel::Limit::Low, stored);
    // The label shows the value as stored, so that it reads the same after the next redraw.
    const QString shown = datasources::formatStored(stored, bars.decimals);
    const Display &c = m_display[size_t(display)];
    if (upper)
        c.upperLimit->setText(QStringLiteral("Upper Bar Limit: ") + shown);
    else
        c.lowerLimit->setText(QStringLiteral("Lower Bar Limit: ") + shown);
}

// --- focus highlight and key chord ---------------------------------------------------------

void SourcesController::setFocusFlag(int display, bool focused)
{
    m_display[size_t(display)].focused = focused;
}

void SourcesController::blink()
{
    for (const Display &c : m_display) {
        if (c.focused)
            c.highlight->setVisible(c.highlight->isHidden()); // one blink per second at 500 ms ticks
        else
            c.highlight->hide();
    }
    m_face.face()->element(QStringLiteral("PicDisplayBarLimitBlank"))->hide();
}

// Ctrl+Shift+K on the left bar's upper limit button arms the factory window.
void SourcesController::keyPressedOnUpperBarButton(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers chord =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == Qt::Key_K && chord == (Qt::ShiftModifier | Qt::ControlModifier))
        m_state.factory.armed = true;
}

bool SourcesController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_display[3].hiBar && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        keyPressedOnUpperBarButton(key->key(), key->modifiers());
        return false;
    }
    for (int k = 0; k < displays::kCount; ++k) {
        if (watched != m_display[size_t(k)].list)
            continue;
        // Opening the list's popup moves the focus away and back without the user leaving the list.
        const bool focusIn = event->type() == QEvent::FocusIn, focusOut = event->type() == QEvent::FocusOut;
        if ((focusIn || focusOut) && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            setFocusFlag(k, focusIn);
        break;
    }
    return QObject::eventFilter(watched, event);
}
