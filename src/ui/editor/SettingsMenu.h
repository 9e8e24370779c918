// The Edit menu's instrument settings: units, clock, bar graph type, tachometer (from one
// table of groups), and the tank sizes and maintenance alarm entries.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class FieldMarks;
class Prompts;
class QAction;
class QMenu;
class ImageModel;

class SettingsMenu : public QObject
{
public:
    SettingsMenu(ImageModel &image, Prompts &prompts, QMenu *editMenu, QObject *parent = nullptr);

    // The choices the image's units and display style imply beside the check marks.
    std::function<void(bool bars)> onPressureUnits;
    std::function<void(bool celsius)> onTemperatureUnits;
    std::function<void(bool pointer)> onBarGraphPointer;

    // Adds the settings submenus to the Edit menu.
    void build();
    // Sets the check marks from the image (an unknown pulley ratio becomes 1:1).
    void refresh();
    // Each settings submenu carries the difference mark of the field it sets.
    void attachMarks(FieldMarks &marks);
    QMenu *tachometer() const { return m_tacho; }
    QMenu *pulleyRatio() const { return m_pulleyRatio; }

    void askFuelTankSize();
    void askSecondTankSize();
    void askMaintenanceAlarm();

private:
    // The user chose item `choice` of settings group `group`: its bits go into the image.
    void choose(size_t group, size_t choice);
    // What a group's bits also change beside its check mark (labels, the face).
    void shown(size_t group);
    // Asks until the answer is in range or cancelled.
    void numberEntryLoop(const QString &title, const QString &rangeLine, double maximum, int factor, int byte,
                         bool hoursDefault);

    ImageModel &m_image;
    Prompts &m_prompts;
    QMenu *m_edit;
    QMenu *m_tacho = nullptr;
    QMenu *m_pulleyRatio = nullptr;
    std::vector<std::vector<QAction *>> m_items; // per group, per choice
    std::vector<QMenu *> m_menus;                // per group
};
