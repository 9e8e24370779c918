#include "ui/editor/FileController.h"

#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "core/EditorState.h"
#include "core/Prompts.h"
#include "render/Report.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/editor/ImageHistory.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <QWidget>

namespace
{
const char kFileFilter[] = "Files (*.CFG)| *.CFG";
const char kRecentKey[] = "recentFiles";
constexpr int kRecentCount = 8;
} // namespace

FileController::FileController(EditorState &state, Prompts &prompts, ImageHistory &history, QWidget *window)
    : QObject(window), m_state(state), m_prompts(prompts), m_history(history), m_window(window)
{
}

QString FileController::droppedConfigFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return QString();
    const QString path = data->urls().front().toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("CFG"), Qt::CaseInsensitive) == 0 ? path : QString();
}

// --- open and save ------------------------------------------------------------------------------

bool FileController::readConfigOrTell(const QString &path, const QString &title, ConfigFileImage &image)
{
    const ConfigReadResult read = readConfigFile(path, image);
    if (!read.ok)
        m_prompts.message(title,
                          describeReadFailure(path, read) +
                              QStringLiteral("\r\nThe configuration in the editor was left unchanged."),
                          Prompts::Icon::Critical);
    return read.ok;
}

bool FileController::openConfigFile(const QString &path)
{
    if (imageLocked && imageLocked())
        return false;
    ConfigFileImage image;
    if (!readConfigOrTell(path, QStringLiteral("Open Configuration"), image))
        return false;
    m_history.checkpoint(); // what the user did before is a step of its own
    applyConfigFile(m_state, image);
    m_state.session.editCurveNumber = 99;
    if (onImageOpened)
        onImageOpened();
    const QString name = QFileInfo(path).fileName();
    m_history.recordAs(QStringLiteral("Open %1").arg(name), true, name);
    m_history.markClean(name); // also a file that holds what the editor held
    if (onFileImage)
        onFileImage();
    rememberRecentFile(path);
    return true;
}

void FileController::open()
{
    const QString path =
        m_prompts.openFile(QStringLiteral("Read configuration data from file:"), QLatin1String(kFileFilter));
    if (!path.isEmpty())
        openConfigFile(path);
}

bool FileController::saveTo(const QString &path)
{
    const QString reason = writeConfigFile(m_state, path);
    if (reason.isEmpty())
        return true;
    m_prompts.message(QStringLiteral("Save Configuration"),
                      QStringLiteral("The configuration could not be saved to\r\n%1\r\n%2.\r\n"
                                     "Any earlier file of that name was left unchanged.")
                          .arg(shownPath(path), reason),
                      Prompts::Icon::Critical);
    return false;
}

void FileController::save()
{
    if (!saveTo(m_state.session.configFileName))
        return;
    m_history.markClean(QFileInfo(m_state.session.configFileName).fileName());
    if (onFileImage)
        onFileImage();
}

void FileController::saveAs()
{
    const QString path = m_prompts.saveFile(QStringLiteral("Save Settings to File: "), QLatin1String(kFileFilter));
    if (path.isEmpty() || !saveTo(path))
        return;
    m_history.markClean(QFileInfo(path).fileName());
    if (onFileImage)
        onFileImage();
}

// --- comparing ------------------------------------------------------------------------------------

void FileController::compareWithFile()
{
    const QString path =
        m_prompts.openFile(QStringLiteral("Compare with configuration file:"), QLatin1String(kFileFilter));
    if (path.isEmpty())
        return;
    ConfigFileImage image;
    if (!readConfigOrTell(path, QStringLiteral("Compare with File"), image))
        return;
    showComparison(ConfigImage::of(m_state), QStringLiteral("Editor"), ConfigImage::of(image),
                   QFileInfo(path).fileName());
}

CompareWindow *FileController::compareWindow()
{
    if (!m_compare) {
        m_compare = new CompareWindow(m_prompts, m_window);
        m_compare->hide();
    }
    return m_compare;
}

void FileController::showComparison(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                                    const QString &afterTitle)
{
    CompareWindow *window = compareWindow();
    const ConfigImage editor = ConfigImage::of(m_state); // its units for both sides
    window->compare(before, beforeTitle, after, afterTitle, &editor);
    if (!window->isVisible()) // beside the main window's picture, not over the controls
        window->move(m_window->frameGeometry().topLeft() + QPoint(40, 80));
    window->show();
    window->raise();
    window->activateWindow();
}

// --- recent files -----------------------------------------------------------------------------------

QStringList FileController::recentFiles() const
{
    return QSettings().value(QLatin1String(kRecentKey)).toStringList().mid(0, kRecentCount);
}

void FileController::rememberRecentFile(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(full);
    files.prepend(full);
    QSettings().setValue(QLatin1String(kRecentKey), files.mid(0, kRecentCount));
}

void FileController::fillRecentFilesMenu()
{
    m_recentFiles->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *item = m_recentFiles->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        item->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        item->setToolTip(QDir::toNativeSeparators(path));
        item->setStatusTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { openConfigFile(path); });
    }
    if (files.isEmpty()) {
        m_recentFiles->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    m_recentFiles->addSeparator();
    QAction *clear = m_recentFiles->addAction(QStringLiteral("&Clear Recent Files"));
    clear->setObjectName(QStringLiteral("ClearRecentFiles"));
    connect(clear, &QAction::triggered, this, [] { QSettings().remove(QLatin1String(kRecentKey)); });
}

void FileController::attachRecentFilesMenu(QMenu *menu)
{
    m_recentFiles = menu;
    connect(menu, &QMenu::aboutToShow, this, &FileController::fillRecentFilesMenu);
    fillRecentFilesMenu();
}

// --- report and pictures ------------------------------------------------------------------------------

void FileController::exportReport()
{
    const QString title = QStringLiteral("Export Report");
    QString path = m_prompts.saveFile(QStringLiteral("Export the configuration report to file:"),
                                      QStringLiteral("PDF files (*.pdf)| *.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path) &&
        m_prompts.askYesNo(title,
                           QStringLiteral("%1 already exists.\r\nDo you want to replace it?").arg(shownPath(path)),
                           Prompts::Icon::Question) != kYes)
        return;

    QString source = m_history.source();
    if (m_history.modified())
        source += QStringLiteral(" (with changes not saved)");
    const report::Identity identity{source, QDateTime::currentDateTime(), m_state.instrument.serialNumber,
                                    m_state.instrument.softwareVersion, m_state.instrument.hardwareVersion};

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const report::Result result = report::writePdf(ConfigImage::of(m_state), identity, path);
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok())
        m_prompts.message(title,
                          QStringLiteral("The report could not be written to\r\n%1\r\n%2.\r\n"
                                         "Any earlier file of that name was left unchanged.")
                              .arg(shownPath(path), result.error),
                          Prompts::Icon::Critical);
}

void FileController::exportPictures()
{
    const QString folder =
        m_prompts.chooseFolder(QStringLiteral("Export the pictures of the 16 display configurations to folder:"));
    if (folder.isEmpty())
        return;
    QStringList written;
    const QString problem = report::writePictures(ConfigImage::of(m_state), folder, &written);
    if (problem.isEmpty())
        return;
    const QString done = written.isEmpty() ? QStringLiteral("No picture was written.")
                                           : QStringLiteral("%1 to %2 were written; the others were not.")
                                                 .arg(report::pictureName(1), report::pictureName(int(written.size())));
    m_prompts.message(QStringLiteral("Export Pictures"),
                      QStringLiteral("A picture could not be written:\r\n%1.\r\n%2").arg(problem, done),
                      Prompts::Icon::Critical);
}
