#include "ui/editor/FaceController.h"

#include "core/FieldNames.h"
#include "ui/editor/FieldMarks.h"

#include "core/EditorState.h"
#include "core/IconTable.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/editor/FaceView.h"
#include "ui/editor/MakeWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cstring>

namespace
{
// Where each icon box sits in its group (a grid cell; the stacked groups use one column),
// in keyboard order.
struct BoxPlace {
    const char *box;
    int row, column, columnSpan;
};

// clang-format off
const BoxPlace kUpper[] = {
    {"ChkIconsUpperSpeed", 0, 0, 1}, {"ChkIconsUpperDepth", 1, 0, 1}, {"ChkIconsUpperRpm", 2, 0, 1},
    {"ChkIconsUpperDeg", 3, 0, 1},
};
const BoxPlace kMiddle[] = {
    {"ChkIconsMiddleNmea1", 0, 0, 1}, {"ChkIconsMiddleNmea1Left", 0, 1, 1},
    {"ChkIconsMiddleNmea2", 1, 0, 1}, {"ChkIconsMiddleNmea2Up", 1, 1, 1}, {"ChkIconsMiddleNmea2Down", 1, 2, 1},
    {"ChkIconsMiddleNmea3", 2, 0, 1}, {"ChkIconsMiddleNmea3Right", 2, 1, 1},
    {"ChkMidLeftArrow", 3, 0, 3}, {"ChkMidRightArrow", 4, 0, 3},
};
const BoxPlace kLowerLeft[] = {
    {"ChkIconsLowerLeftOil", 0, 0, 1}, {"ChkIconsLowerLeftSpeed", 1, 0, 1}, {"ChkIconsLowerLeftVdc", 2, 0, 1},
};
const BoxPlace kLowerRight[] = {
    {"ChkIconsLowerRightTemp", 0, 0, 1}, {"ChkIconsLowerRightDepth", 1, 0, 1}, {"ChkIconsLowerRightRpm", 2, 0, 1},
    {"ChkIconsLowerRightFuel", 3, 0, 1},
};
// clang-format on

struct GroupPlaces {
    const BoxPlace *begin, *end;
};
// In icons::Group order.
const GroupPlaces kGroups[] = {
    {std::begin(kUpper), std::end(kUpper)},
    {std::begin(kMiddle), std::end(kMiddle)},
    {std::begin(kLowerLeft), std::end(kLowerLeft)},
    {std::begin(kLowerRight), std::end(kLowerRight)},
};

int iconIndex(const char *box)
{
    for (int i = 0; i < icons::kCount; ++i)
        if (std::strcmp(icons::kIcons[i].box, box) == 0)
            return i;
    return -1;
}

} // namespace

FaceController::FaceController(EditorState &state, ImageModel &image, Prompts &prompts, QObject *parent)
    : QObject(parent), m_state(state), m_image(image), m_prompts(prompts)
{
}

QWidget *FaceController::build(QWidget *parent)
{
    auto *area = new QWidget(parent);
    area->setObjectName(QStringLiteral("configurationArea"));
    m_face = new FaceView(area);

    QGroupBox *configurations =
        ui::makeFrame(area, QStringLiteral("fraConfigurations"), QStringLiteral("Display Configurations"));
    auto *buttons = new QHBoxLayout(configurations);
    buttons->setSpacing(3);
    const int width = area->fontMetrics().horizontalAdvance(QStringLiteral("16")) + 18;
    for (int i = 0; i < 16; ++i) {
        QPushButton *b = ui::makeButton(configurations, QStringLiteral("CmdConf1_%1").arg(i), QString::number(i + 1),
                                        QStringLiteral("Display Configuration %1").arg(i + 1));
        b->setMinimumWidth(width);
        b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (onConfigurationChosen)
                onConfigurationChosen(i);
        });
        m_configButtons[size_t(i)] = b;
        buttons->addWidget(b);
    }

    m_setIcons = ui::makeButton(area, QStringLiteral("cmdSetCurrentConfig"), QStringLiteral("Set #1 Icons"),
                                QStringLiteral("Set all icons of the current configuration"));
    m_clearIcons = ui::makeButton(area, QStringLiteral("cmdResetCurrentConfig"), QStringLiteral("Clear  #1 Icons"),
                                  QStringLiteral("Clear all icons of the current configuration"));
    m_clearConfig = ui::makeButton(area, QStringLiteral("cmdClearConfig"), QStringLiteral("Clear #1 Configuration"),
                                   QStringLiteral("Completely clear the current configuration"));
    connect(m_setIcons, &QPushButton::clicked, this, &FaceController::onSetIconsClicked);
    connect(m_clearIcons, &QPushButton::clicked, this, &FaceController::onClearIconsClicked);
    connect(m_clearConfig, &QPushButton::clicked, this, &FaceController::onClearConfigurationClicked);
    auto *configButtons = new QHBoxLayout;
    for (QPushButton *b : {m_setIcons, m_clearIcons, m_clearConfig})
        configButtons->addWidget(b, 1);

    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_face);
    layout->addWidget(configurations);
    layout->addLayout(configButtons);
    layout->addWidget(buildIconsFrame(area));
    return area;
}

QGroupBox *FaceController::buildIconsFrame(QWidget *parent)
{
    QGroupBox *icons = ui::makeFrame(parent, QStringLiteral("fraIcons"), QStringLiteral("ICONS"));
    const std::array<QGroupBox *, 4> groups = {
        ui::makeFrame(icons, QStringLiteral("fraIconsUpper"), QStringLiteral("Upper")),
        ui::makeFrame(icons, QStringLiteral("fraIconsMiddle"), QStringLiteral("Middle")),
        ui::makeFrame(icons, QStringLiteral("fraIconsLowerLeft"), QStringLiteral("Lower Left")),
        ui::makeFrame(icons, QStringLiteral("fraIconsLowerRight"), QStringLiteral("Lower Right")),
    };
    for (int i = 0; i < icons::kCount; ++i) {
        const icons::IconDef &def = icons::kIcons[i];
        auto *box = new QCheckBox(QLatin1String(def.caption), groups[size_t(def.group)]);
        box->setObjectName(QLatin1String(def.box));
        box->setAccessibleName(QLatin1String(def.accessible));
        m_iconBox[size_t(i)] = box;
        m_iconElement[size_t(i)] = m_face->element(QLatin1String(def.element));
        // A box set to the state it already has emits nothing, so its byte keeps what it held.
        connect(box, &QCheckBox::toggled, this, [this, i] { iconBoxChanged(i); });
    }
    layOutIconBoxes(groups);

    auto *layout = new QHBoxLayout(icons);
    layout->addWidget(groups[0]);
    layout->addWidget(groups[1], 2);
    layout->addWidget(groups[2]);
    layout->addWidget(groups[3]);
    return icons;
}

void FaceController::layOutIconBoxes(const std::array<QGroupBox *, 4> &groups)
{
    for (size_t g = 0; g < groups.size(); ++g) {
        if (g != size_t(icons::Group::Middle)) {
            // A stacked group: one column, top-aligned.
            auto *stack = new QVBoxLayout(groups[g]);
            for (const BoxPlace *p = kGroups[g].begin; p != kGroups[g].end; ++p)
                stack->addWidget(m_iconBox[size_t(iconIndex(p->box))]);
            stack->addStretch(1);
            continue;
        }
        auto *grid = new QGridLayout(groups[g]);
        int rows = 0;
        for (const BoxPlace *p = kGroups[g].begin; p != kGroups[g].end; ++p) {
            grid->addWidget(m_iconBox[size_t(iconIndex(p->box))], p->row, p->column, 1, p->columnSpan);
            rows = qMax(rows, p->row + 1);
        }
        grid->setRowStretch(rows, 1);
    }
}

QList<QWidget *> FaceController::tabOrder() const
{
    QList<QWidget *> chain;
    for (QPushButton *b : m_configButtons)
        chain << b;
    chain << m_setIcons << m_clearIcons << m_clearConfig;
    for (const GroupPlaces &group : kGroups)
        for (const BoxPlace *p = group.begin; p != group.end; ++p)
            chain << m_iconBox[size_t(iconIndex(p->box))];
    return chain;
}

int FaceController::currentBlock()
{
    int shown = m_image.shownConfiguration();
    if (shown < 1 || shown > 16) {
        shown = 1;
        m_image.setShownConfiguration(shown);
    }
    m_state.session.currentConfig = quint8(shown);
    return shown;
}

void FaceController::changeBitsToByte(int byte)
{
    const int block = currentBlock();
    quint8 value = 0; // bits that no check box owns are written as 0
    for (int i = 0; i < icons::kCount; ++i)
        if (icons::kIcons[i].byte == byte && m_iconBox[size_t(i)]->isChecked())
            value |= quint8(1u << icons::kIcons[i].bit);
    m_image.setIconByte(block, byte, value);
}

void FaceController::iconBoxChanged(int icon)
{
    m_iconElement[size_t(icon)]->setVisible(m_iconBox[size_t(icon)]->isChecked());
    changeBitsToByte(icons::kIcons[icon].byte);
}

void FaceController::setIconState(int icon, bool on)
{
    m_iconElement[size_t(icon)]->setVisible(on);
    m_iconBox[size_t(icon)]->setChecked(on);
}

void FaceController::clearIcons()
{
    for (int i = 0; i < icons::kCount; ++i)
        setIconState(i, false);
}

void FaceController::showIcons()
{
    const int block = currentBlock();
    // Icon bytes 1..4, each bit from 7 down to 0; only owned bits have a box to set.
    for (int byte = 1; byte <= 4; ++byte) {
        const quint8 value = m_image.iconByte(block, byte);
        for (int bit = 7; bit >= 0; --bit) {
            const int icon = icons::indexOf(byte, bit);
            if (icon >= 0)
                setIconState(icon, (value >> bit) & 1);
        }
    }
    if (m_marks)
        for (int i = 0; i < icons::kCount; ++i)
            m_marks->attach(m_iconBox[size_t(i)], {fields::iconFieldName(block, i)});
}

void FaceController::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    for (int i = 0; i < 16; ++i)
        m_marks->attachConfiguration(m_configButtons[size_t(i)], i + 1);
    showIcons();
}

void FaceController::setCaptions(int config)
{
    const QString n = numtext::signedText(qint64(config));
    m_clearIcons->setText(QStringLiteral("Clear #") + n + QStringLiteral("  Icons"));
    m_setIcons->setText(QStringLiteral("Set #") + n + QStringLiteral("  Icons"));
    m_clearConfig->setText(QStringLiteral("Clear Configuration #") + n);
}

void FaceController::markConfigurationButton(int index)
{
    for (QPushButton *b : m_configButtons)
        b->setDefault(b == m_configButtons[size_t(index)]);
}

void FaceController::focusFirstConfiguration()
{
    m_configButtons[0]->setFocus();
}

bool FaceController::askConfirmation(const QString &title, const QString &line)
{
    m_prompts.beep();
    return m_prompts.askYesNo(title, QStringLiteral("Are you sure?\r\n") + line, Prompts::Icon::Question) == kYes;
}

void FaceController::onSetIconsClicked()
{
    const QString n = numtext::signedText(qint64(m_state.session.currentConfig));
    if (!askConfirmation(QStringLiteral("Set all Icons for display configuration #") + n,
                         QStringLiteral("This will turn ON all the Icons for display configuration #") + n))
        return;
    for (int i = 0; i < icons::kCount; ++i)
        setIconState(i, true);
}

void FaceController::onClearIconsClicked()
{
    const QString n = numtext::signedText(qint64(m_state.session.currentConfig));
    if (!askConfirmation(QStringLiteral("Clear all Icons for display configuration #") + n,
                         QStringLiteral("This will clear all the Icons for display configuration #") + n))
        return;
    clearIcons();
    m_image.clearIcons(currentBlock());
}

void FaceController::onClearConfigurationClicked()
{
    const QString n = numtext::signedText(qint64(m_state.session.currentConfig));
    if (!askConfirmation(QStringLiteral("Completely clear display configuration #") + n,
                         QStringLiteral("This will completely clear display configuration #") + n))
        return;
    clearIcons();
    m_image.clearConfiguration(currentBlock());
    if (onRedraw)
        onRedraw();
}
