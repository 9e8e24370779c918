// The face and icons area of the main window: the instrument picture, the sixteen
// configuration buttons, the buttons that set or clear the current configuration and the
// twenty icon boxes with the icon bytes they edit.
#pragma once

#include <QObject>
#include <array>
#include <functional>

class FaceView;
class FieldMarks;
class ImageModel;
class Prompts;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QWidget;
struct EditorState;

class FaceController : public QObject
{
    Q_OBJECT
public:
    FaceController(EditorState &state, ImageModel &image, Prompts &prompts, QObject *parent = nullptr);

    // The picture, the configuration buttons and the icons frame, in one column.
    QWidget *build(QWidget *parent);

    // Everything else the window redraws after this area changed the image.
    std::function<void()> onRedraw;
    // A configuration button was pressed (0..15): the window shows that configuration.
    std::function<void(int index)> onConfigurationChosen;

    FaceView *face() const { return m_face; }
    // The block of the configuration shown, from system byte 6; a damaged image's 0 or a
    // number above 16 shows (and makes byte 6 name) configuration 1.
    int currentBlock();
    // Sets the boxes and picture from the current configuration's icon bytes.
    void showIcons();
    // The three buttons name configuration `config`.
    void setCaptions(int config);
    void markConfigurationButton(int index);
    void focusFirstConfiguration();
    // The controls in keyboard order.
    QList<QWidget *> tabOrder() const;
    QPushButton *clearConfigurationButton() const { return m_clearConfig; }
    // The configuration buttons and the icon boxes carry the difference marks.
    void setFieldMarks(FieldMarks *marks);

private:
    QGroupBox *buildIconsFrame(QWidget *parent);
    void layOutIconBoxes(const std::array<QGroupBox *, 4> &groups);
    void changeBitsToByte(int byte);
    void iconBoxChanged(int icon);
    void setIconState(int icon, bool on);
    void clearIcons();
    bool askConfirmation(const QString &title, const QString &line);
    void onSetIconsClicked();
    void onClearIconsClicked();
    void onClearConfigurationClicked();

    EditorState &m_state;
    ImageModel &m_image;
    Prompts &m_prompts;
    FaceView *m_face = nullptr;
    std::array<QPushButton *, 16> m_configButtons{};
    FieldMarks *m_marks = nullptr;
    QPushButton *m_setIcons = nullptr, *m_clearIcons = nullptr, *m_clearConfig = nullptr;
    std::array<QCheckBox *, 20> m_iconBox{};   // in icons::kIcons order
    std::array<QWidget *, 20> m_iconElement{}; // the picture element each box switches
};
