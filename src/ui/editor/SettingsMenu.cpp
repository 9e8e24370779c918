#include "ui/editor/SettingsMenu.h"

#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/editor/FieldMarks.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <algorithm>

namespace
{

// One choice of a settings group: its control name, its caption, and the bits it stores.
struct SettingChoice {
    const char *name;
    const char *caption;
    quint8 value;
};

// A group of exclusive choices stored in the bits `mask` of system byte `byte`; the
// other bits of the byte stay as they are. One table serves the menu, the handlers
// and the check marks.
struct SettingGroup {
    const char *name;
    const char *caption;
    const char *parent; // the submenu holding this one; nullptr: the Edit menu
    int byte;
    quint8 mask;
    std::vector<SettingChoice> choices;
    const char *field; // the field it sets, by its name in the field table
};

enum GroupIndex : size_t { kSpeed, kTemperature, kPressure, kTime, kBarGraph, kSensitivity, kPulleyRatio };

// clang-format off
const std::vector<SettingGroup> &settingGroups()
{
    static const std::vector<SettingGroup> groups{
        {"SpeedUnits", "Speed/Distance Units", nullptr, layout::kDisplayFlags, layout::kSpeedUnitBits,
         {{"Knots", "Knots/NM", 0x00}, {"MPH", "MPH/Miles", 0x20}, {"KmHr", "KPH/Km", 0x40}}, "Speed/distance units"},
        {"TemperatureUnits", "Temperature Units", nullptr, layout::kDisplayFlags, layout::kFahrenheitBit, {{"DegF", "Deg. F", 0x08}, {"DegC", "Deg. C", 0x00}}, "Temperature units"},
        {"PressureUnits", "Pressure Units", nullptr, layout::kDisplayFlags, layout::kPsiBit, {{"Psi", "PSI", 0x10}, {"Bars", "Bars", 0x00}}, "Pressure units"},
        {"TimeFormat", "Time Format", nullptr, layout::kDisplayFlags, layout::kTwelveHourBit, {{"Hr12", "12 Hr", 0x04}, {"Hr24", "24 Hr", 0x00}}, "Time format"},
        {"BarGraphType", "Bar Graph Type", nullptr, layout::kDisplayFlags, layout::kBarChartBit, {{"BarChart", "Bar Chart", 0x02}, {"Pointer", "Pointer", 0x00}}, "Bar graph type"},
        // Bits 7..4 of the sensitivity byte belong to the instrument.
        {"TachoSensitivity", "Sensitivity", "Tacho", layout::kTachoSensitivity, layout::kSensitivityBits,
         {{"TachoSensitivityMaximum", "Maximum", 0x0F}, {"TachoSensitivityHigh", "High", 0x0E},
          {"TachoSensitivityMedium", "Medium", 0x0D}, {"TachoSensitivityLow", "Low", 0x0B},
          {"TachoSensitivityMinimum", "Minimum", 0x07}}, "Tachometer sensitivity"},
        {"PullyRatio", "Pulley Ratio", "Tacho", layout::kPulleyRatio, 0xFF,
         {{"TachoRatio1", "1:1", 1}, {"TachoRatio5", "5:1", 5}, {"TachoRatio10", "10:1", 10},
          {"TachoRatio20", "20:1", 20}, {"TachoRatio50", "50:1", 50}, {"TachoRatio100", "100:1", 100},
          {"TachoRatio200", "200:1", 200}}, "Tachometer pulley ratio"},
    };
    return groups;
}
// clang-format on

QMenu *addSubmenu(QMenu *menu, const char *name, const QString &caption)
{
    QMenu *sub = menu->addMenu(caption);
    sub->setObjectName(QLatin1String(name));
    sub->menuAction()->setObjectName(QLatin1String(name));
    return sub;
}

} // namespace

SettingsMenu::SettingsMenu(ImageModel &image, Prompts &prompts, QMenu *editMenu, QObject *parent)
    : QObject(parent), m_image(image), m_prompts(prompts), m_edit(editMenu)
{
}

void SettingsMenu::build()
{
    const auto &groups = settingGroups();
    m_items.assign(groups.size(), {});
    for (size_t g = 0; g < groups.size(); ++g) {
        const SettingGroup &group = groups[g];
        if (g == kTime)
            m_edit->addSeparator();
        QMenu *parent = m_edit;
        if (group.parent) {
            if (!m_tacho)
                m_tacho = addSubmenu(m_edit, group.parent, QStringLiteral("Tachometer"));
            parent = m_tacho;
        }
        QMenu *menu = addSubmenu(parent, group.name, QString::fromUtf8(group.caption));
        m_menus.push_back(menu);
        if (g == kPulleyRatio)
            m_pulleyRatio = menu;
        // One check mark per group, none when the bits match no item.
        auto *exclusive = new QActionGroup(menu);
        exclusive->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (size_t c = 0; c < group.choices.size(); ++c) {
            QAction *item = menu->addAction(QString::fromUtf8(group.choices[c].caption));
            item->setObjectName(QLatin1String(group.choices[c].name));
            item->setCheckable(true);
            exclusive->addAction(item);
            connect(item, &QAction::triggered, this, [this, g, c] { choose(g, c); });
            m_items[g].push_back(item);
        }
    }
}

void SettingsMenu::attachMarks(FieldMarks &marks)
{
    QStringList tachometer;
    for (size_t g = 0; g < m_menus.size(); ++g) {
        const SettingGroup &group = settingGroups()[g];
        marks.attach(m_menus[g]->menuAction(), {QLatin1String(group.field)});
        if (group.parent)
            tachometer << QLatin1String(group.field);
    }
    if (m_tacho)
        marks.attach(m_tacho->menuAction(), tachometer);
}

void SettingsMenu::shown(size_t group)
{
    if (group == kTemperature && onTemperatureUnits)
        onTemperatureUnits(m_image.temperatureInCelsius());
    else if (group == kPressure && onPressureUnits)
        onPressureUnits(m_image.pressureInBars());
    else if (group == kBarGraph && onBarGraphPointer)
        onBarGraphPointer(m_image.barGraphAsPointer());
}

void SettingsMenu::choose(size_t g, size_t c)
{
    const SettingGroup &group = settingGroups()[g];
    m_image.setSystemBits(group.byte, group.mask, group.choices[c].value);
    for (size_t i = 0; i < m_items[g].size(); ++i)
        m_items[g][i]->setChecked(i == c);
    shown(g);
}

void SettingsMenu::refresh()
{
    // The instrument knows no other pulley ratio: an unknown one becomes 1:1.
    const auto &ratios = settingGroups()[kPulleyRatio].choices;
    if (std::none_of(ratios.begin(), ratios.end(),
                     [this](const SettingChoice &r) { return r.value == m_image.pulleyRatio(); }))
        m_image.setPulleyRatio(1);

    const auto &groups = settingGroups();
    for (size_t g = 0; g < groups.size(); ++g) {
        const quint8 bits = m_image.systemByte(groups[g].byte) & groups[g].mask;
        for (size_t c = 0; c < groups[g].choices.size(); ++c)
            m_items[g][c]->setChecked(groups[g].choices[c].value == bits);
        shown(g);
    }
}

// --- number entries ------------------------------------------------------------------------------

// Asks until the answer is in range or cancelled; an out-of-range answer beeps and asks again
// with the stored value as the default.
void SettingsMenu::numberEntryLoop(const QString &title, const QString &rangeLine, double maximum, int factor, int byte,
                                   bool hoursDefault)
{
    for (;;) {
        m_prompts.beep();
        const quint16 value = m_image.systemWord(byte);
        const QString defaultText = hoursDefault ? numtext::signedText(numtext::roundHalfEven(value / 60.0))
                                                 : numtext::signedText(double(value) / 10.0);
        const QString answer = m_prompts.inputBox(rangeLine + QStringLiteral("\r\n0=OFF"), title, defaultText);
        if (answer.isEmpty())
            return;
        const double v = numtext::leadingNumber(answer);
        if (v < 0 || v > maximum)
            continue;
        m_image.setSystemWord(byte, quint16(std::clamp<qint64>(numtext::roundHalfEven(v * factor), 0, 65535)));
        return;
    }
}

void SettingsMenu::askFuelTankSize()
{
    numberEntryLoop(QStringLiteral("View/Set Fuel Tank Size"), QStringLiteral("Enter a value between 0 and 6500.0"),
                    6500, 10, layout::kFuelTankSize, false);
}

void SettingsMenu::askSecondTankSize()
{
    numberEntryLoop(QStringLiteral("View/Set Optional 2n'd Tank Size"),
                    QStringLiteral("Enter a value between 0.0 and 6500.0"), 6500, 10, layout::kSecondTankSize, false);
}

void SettingsMenu::askMaintenanceAlarm()
{
    numberEntryLoop(QStringLiteral("View/Set Engine Maintenance Alarm"),
                    QStringLiteral("Enter a value between 0 and 999.9 hours."), 999.9, 60, layout::kMaintenanceAlarm,
                    true);
}
