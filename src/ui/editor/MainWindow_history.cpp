// MainWindow: undo and redo, and a dropped configuration file.
#include "ui/editor/MainWindow.h"

#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/ImageModel.h"
#include "link/SerialLink.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/FileController.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>

void MainWindow::createHistory()
{
    m_history = new ImageHistory(
        m_state, [this](const ConfigImage &image) { restoreImage(image); }, [this] { return imageLocked(); }, this);
    connect(m_history, &ImageHistory::modifiedChanged, this, &QWidget::setWindowModified);
    // The title names where the image comes from; "*" marks changes not saved.
    connect(m_history, &ImageHistory::sourceChanged, this, [this](const QString &source) {
        setWindowTitle(QStringLiteral("Halvane Corvane Display Configuration Editor - %1[*]").arg(source));
    });
}

bool MainWindow::imageLocked() const
{
    // An instrument operation that uses the image disables the window's controls.
    return centralWidget() && !centralWidget()->isEnabled();
}

void MainWindow::addHistoryMenus()
{
    m_editMenu->addAction(m_history->undoAction());
    m_editMenu->addAction(m_history->redoAction());
    m_editMenu->addSeparator();
    // The names of the steps are current when the menu opens.
    connect(m_editMenu, &QMenu::aboutToShow, m_history, &ImageHistory::checkpoint);
    m_file->imageLocked = [this] { return imageLocked(); };
    m_file->attachRecentFilesMenu(m_recentFiles);
}

void MainWindow::restoreImage(const ConfigImage &image)
{
    image.applyTo(m_state);
    m_instrument->showPortNumber(m_state.link.portNumber);
    positionSenderLists(m_state);
    updateInstrumentDisplay();
    showAlarmLimits();
    const int config = m_image->shownConfiguration();
    if (config >= 1 && config <= 16)
        setConfigCaptions(config);
    m_image->announceReplaced(); // the other windows show the image put back
    // The redraw rewrites what it shows differently (bits no icon owns, codes the lists
    // lack): the image goes back exactly as it was.
    image.applyTo(m_state);
}

bool MainWindow::openImage(const ConfigImage &image, const QString &source)
{
    if (imageLocked()) {
        tellInstrumentBusy(m_prompts);
        return false;
    }
    m_history->checkpoint(); // what the user did before is a step of its own
    restoreImage(image);
    m_history->recordAs(QStringLiteral("Open %1").arg(source), false, source);
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!imageLocked() && !FileController::droppedConfigFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = FileController::droppedConfigFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    m_file->openConfigFile(path);
}
