// MainWindow: undo and redo, comparing with a file, recent files, dropped files.
#include "ui/editor/MainWindow.h"

#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/dialogs/CompareWindow.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/ImageHistory.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>

namespace
{
const char kFileFilter[] = "Files (*.CFG)| *.CFG";
const char kRecentKey[] = "recentFiles";
constexpr int kRecentCount = 8;

// The one local file of a drag, when it is a configuration file.
QString droppedConfigFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return QString();
    const QString path = data->urls().front().toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("CFG"), Qt::CaseInsensitive) == 0 ? path : QString();
}
} // namespace

void MainWindow::createHistory()
{
    m_history = new ImageHistory(
        m_state, [this](const ConfigImage &image) { restoreImage(image); }, [this] { return imageLocked(); }, this);
    connect(m_history, &ImageHistory::modifiedChanged, this, &QWidget::setWindowModified);
}

bool MainWindow::imageLocked() const
{
    // An instrument operation that uses the image disables the window's controls.
    return centralWidget() && !centralWidget()->isEnabled();
}

void MainWindow::addHistoryMenus()
{
    mnuEdit->addAction(m_history->undoAction());
    mnuEdit->addAction(m_history->redoAction());
    mnuEdit->addSeparator();
    // The names of the steps are current when the menu opens.
    connect(mnuEdit, &QMenu::aboutToShow, m_history, &ImageHistory::checkpoint);
    connect(RecentFiles, &QMenu::aboutToShow, this, &MainWindow::fillRecentFilesMenu);
    fillRecentFilesMenu();
}

void MainWindow::watchDownloads()
{
    // Runs after the download itself: what it brought is one step and counts as saved.
    connect(cmdDownload, &QPushButton::clicked, this,
            [this] { m_history->recordAs(QStringLiteral("Download from Corvane"), true); });
}

void MainWindow::restoreImage(const ConfigImage &image)
{
    image.applyTo(m_state);
    positionSenderLists(m_state);
    m_senders->showStoredCurve();
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
    const int config = m_state.SystemBlock[6];
    if (config >= 1 && config <= 16)
        setConfigCaptions(config);
    m_damping->onActivated();
    m_todAlarms->onTodAlarmsClicked();
    // The redraw rewrites what it shows differently (bits no icon owns, codes the lists
    // lack): the image goes back exactly as it was.
    image.applyTo(m_state);
}

bool MainWindow::readConfigOrTell(const QString &path, const QString &title, ConfigFileImage &image)
{
    const ConfigReadResult read = readConfigFile(path, image);
    if (!read.ok)
        m_prompts.message(title,
                          describeReadFailure(path, read) +
                              QStringLiteral("\r\nThe configuration in the editor was left unchanged."),
                          Prompts::Icon::Critical);
    return read.ok;
}

bool MainWindow::openConfigFile(const QString &path)
{
    if (imageLocked())
        return false;
    ConfigFileImage image;
    if (!readConfigOrTell(path, QStringLiteral("Open Configuration"), image))
        return false;
    m_history->checkpoint(); // what the user did before is a step of its own
    applyConfigFile(m_state, image);
    lblCommsPort->setText(QStringLiteral("COM Port = ") + numtext::signedText(qint64(m_state.ComPortNumber)));
    m_state.EditCurveNumber = 99;
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
    m_history->recordAs(QStringLiteral("Open %1").arg(QFileInfo(path).fileName()), true);
    m_history->markClean();
    rememberRecentFile(path);
    return true;
}

void MainWindow::onCompareWithFileTriggered()
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

CompareWindow *MainWindow::compareWindow()
{
    if (!m_compare) {
        m_compare = new CompareWindow(m_prompts, this);
        m_compare->hide();
    }
    return m_compare;
}

void MainWindow::showComparison(const ConfigImage &before, const QString &beforeTitle, const ConfigImage &after,
                                const QString &afterTitle)
{
    CompareWindow *window = compareWindow();
    window->compare(before, beforeTitle, after, afterTitle);
    if (!window->isVisible()) // beside the main window's picture, not over the controls
        window->move(frameGeometry().topLeft() + QPoint(40, 80));
    window->show();
    window->raise();
    window->activateWindow();
}

QStringList MainWindow::recentFiles() const
{
    return QSettings().value(QLatin1String(kRecentKey)).toStringList().mid(0, kRecentCount);
}

void MainWindow::rememberRecentFile(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(full);
    files.prepend(full);
    QSettings().setValue(QLatin1String(kRecentKey), files.mid(0, kRecentCount));
}

void MainWindow::fillRecentFilesMenu()
{
    RecentFiles->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *item = RecentFiles->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        item->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        item->setToolTip(QDir::toNativeSeparators(path));
        item->setStatusTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { openConfigFile(path); });
    }
    if (files.isEmpty()) {
        RecentFiles->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    RecentFiles->addSeparator();
    QAction *clear = RecentFiles->addAction(QStringLiteral("&Clear Recent Files"));
    clear->setObjectName(QStringLiteral("ClearRecentFiles"));
    connect(clear, &QAction::triggered, this, [] { QSettings().remove(QLatin1String(kRecentKey)); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!imageLocked() && !droppedConfigFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedConfigFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openConfigFile(path);
}
