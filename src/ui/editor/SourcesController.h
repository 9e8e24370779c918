// The sources and limits area of the main window: each of the five displays' data-source
// list, its alarm limits and (for the bars) bar limits, the blinking highlight of the
// display whose list has the focus, and the key chord that arms the factory window.
#pragma once

#include "ui/Twips.h"

#include <QObject>
#include <array>
#include <functional>

class FaceController;
class FieldMarks;
class ImageModel;
class Prompts;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
struct EditorState;

class SourcesController : public QObject
{
    Q_OBJECT
public:
    SourcesController(EditorState &state, ImageModel &image, Prompts &prompts, FaceController &face,
                      QObject *parent = nullptr);

    QGroupBox *build(QWidget *parent);

    // Everything the window redraws after a data source changed.
    std::function<void()> onRedraw;
    // Hides the NMEA sentence selector and the data monitor.
    std::function<void()> onHideNmeaWindows;
    // The user picked NMEA input `position` (1..8) for display `display` (0..4): the
    // selector opens beside the data panel.
    std::function<void(int display, int position, const twips::Beside &beside)> onNmeaSourcePicked;

    // The lists were never filled (the first start-up).
    bool isFirstRun() const;
    // Fills the five lists (only those not filled yet).
    void fillLists();
    // Positions the lists on the current configuration's codes and the face on its sources.
    void refreshLists();
    // The alarm and bar limit labels and buttons of the current configuration.
    void showLimits();
    void setCaption(int config);
    void setCaptionText(const QString &title);
    // One step of the 500 ms timer: the focused display's highlight blinks.
    void blink();
    // Whether display 0..4's list has the keyboard focus.
    bool hasFocus(int display) const { return m_display[size_t(display)].focused; }
    void setFocusFlag(int display, bool focused);
    QList<QWidget *> tabOrder() const;
    // The lists, the limits and their buttons carry the difference marks.
    void setFieldMarks(FieldMarks *marks);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One display's list, labels, buttons, highlight and focus flag.
    struct Display {
        QComboBox *list = nullptr;
        QLabel *lowAlarm = nullptr, *highAlarm = nullptr;
        QPushButton *hiAlarm = nullptr, *loAlarm = nullptr;
        QLabel *lowerLimit = nullptr, *upperLimit = nullptr; // bars only
        QPushButton *hiBar = nullptr, *loBar = nullptr;      // bars only
        QWidget *highlight = nullptr;
        bool focused = false;
    };

    QGroupBox *buildDisplayFrame(QWidget *parent, int display);
    void addBarLimits(QGroupBox *frame, int display);
    void connectDisplay(int display);
    void storeSource(int display, int position);
    void removeOtherSourceEntry(int display);
    void sourceChanged(int display, int position);
    void sourceClicked(int display);
    twips::Beside besideDataPanel(int display) const;
    void changeAlarm(int display, bool high);
    void changeBarLimit(int display, bool upper);
    void keyPressedOnUpperBarButton(int key, Qt::KeyboardModifiers modifiers);
    // The fields display `display` shows in configuration `block`, named to the marks.
    void attachMarks(int display, int block);

    EditorState &m_state;
    ImageModel &m_image;
    Prompts &m_prompts;
    FaceController &m_face;
    FieldMarks *m_marks = nullptr;
    QGroupBox *m_frame = nullptr;
    std::array<Display, 5> m_display{}; // displays 1, 2, 3, left bar, right bar
};
