// The file area of the main window: open, save, recent files, a dropped file, comparing
// with a file, and the report and pictures of the configuration in the editor.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CompareWindow;
class ImageHistory;
class Prompts;
class QMenu;
class QMimeData;
class QWidget;
struct ConfigFileImage;
struct ConfigImage;
struct EditorState;

class FileController : public QObject
{
    Q_OBJECT
public:
    // `window` is the main window the dialogs open beside.
    FileController(EditorState &state, Prompts &prompts, ImageHistory &history, QWidget *window);

    // A file was opened into the image: the window shows it.
    std::function<void()> onImageOpened;
    // The image in the editor is now the one in a file: it was opened or saved.
    std::function<void()> onFileImage;
    // Whether an instrument operation holds the image (nothing may replace it then).
    std::function<bool()> imageLocked;

    // Keeps `menu` listing the recent files.
    void attachRecentFilesMenu(QMenu *menu);
    // The recent files, newest first (at most 8).
    QStringList recentFiles() const;

    // Opens a configuration file (a bad file is reported and changes nothing); used by
    // Open, Recent Files, a dropped file and the command line.
    bool openConfigFile(const QString &path);
    // Reads a configuration file into `image`; a file that cannot be read is reported
    // under `title` and false returned.
    bool readConfigOrTell(const QString &path, const QString &title, ConfigFileImage &image);
    // Writes the image to `path`; a failure is reported. True when written.
    bool saveTo(const QString &path);
    // The one local configuration file of a drag, or an empty text.
    static QString droppedConfigFile(const QMimeData *data);

    void open();
    // Save writes the editor's own file (DEFAULT.CFG unless a file was named).
    void save();
    void saveAs();
    void compareWithFile();
    void exportReport();
    void exportPictures();

    // Shows the compare window with what changes from `before` to `after`.
    void showComparison(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                        const QString &afterTitle);
    CompareWindow *compareWindow();

private:
    void fillRecentFilesMenu();
    void rememberRecentFile(const QString &path);

    EditorState &m_state;
    Prompts &m_prompts;
    ImageHistory &m_history;
    QWidget *m_window;
    QMenu *m_recentFiles = nullptr;
    CompareWindow *m_compare = nullptr;
};
