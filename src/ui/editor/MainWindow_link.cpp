// MainWindow: the serial link, the windows of other subsystems, and the instrument operations.
#include "ui/editor/MainWindow.h"

#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/EditorState.h"
#include "core/ImageLayout.h"
#include "core/ImageModel.h"
#include "core/Prompts.h"
#include "link/Connection.h"
#include "link/InstrumentContext.h"
#include "link/OperationRunner.h"
#include "link/PortResolver.h"
#include "link/SerialBytePort.h"
#include "link/SerialLink.h"
#include "link/Transfers.h"
#include "ui/AboutWindow.h"
#include "ui/LinkWindows.h"
#include "ui/TransferWarning.h"
#include "ui/Twips.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/dialogs/SendersWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/FileController.h"
#include "ui/editor/FittingScrollArea.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"
#include "ui/factory/FactoryWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <cstring>

namespace
{
// How long the window, going away, waits for a running operation's next step.
constexpr int kOperationEndMs = 5000;
} // namespace

MainWindow::~MainWindow()
{
    // An operation still running ends at its next step once the link is shut down;
    // its last calls to the windows are answered meanwhile. Then the operations and
    // their link go, before the port they talk through.
    m_runner->shutDown();
    const QDeadlineTimer deadline(kOperationEndMs);
    while (m_runner->running() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    m_runner.reset();
    m_linkWindows.reset();
    m_warningQuestion.reset();
}

void MainWindow::createLinkAndWindows(BytePort *port)
{
    if (!port) {
        m_ownPort = std::make_unique<SerialBytePort>();
        port = m_ownPort.get();
    }
    m_resolver = std::make_unique<PortResolver>(m_programFolder);
    const PortResolver *resolver = m_resolver.get();
    m_linkWindows = std::make_unique<LinkWindows>(m_state, this, resolver);
    m_linkWindows->setMainView(m_instrument);
    m_runner = std::make_unique<OperationRunner>(m_prompts, *m_linkWindows, m_clock, *port,
                                                 [resolver](int n) { return resolver->device(n); });
    m_linkWindows->onCancel = [this] { m_runner->requestCancel(); };

    m_about = new AboutWindow(m_state, this);
    m_about->hide();
    m_senders = new SendersWindow(m_state, *m_image, m_prompts, this);
    m_damping = new DampingWindow(*m_image, m_prompts, this);
    m_todAlarms = new TimeOfDayAlarmsWindow(*m_image, m_prompts, this);
    m_senders->setFieldMarks(m_marks);
    m_damping->setFieldMarks(m_marks);
    m_todAlarms->setFieldMarks(m_marks);
    m_nmeaData = new NmeaMonitorWindow(this);
    m_nmeaData->hide();
    m_warning = new TransferWarning(this);
    m_warning->hide();
    m_warningQuestion = std::make_unique<WarningQuestion>(*m_warning, m_state.link, m_runner->link(), m_runner.get());
    m_warningQuestion->onCompare = [this](const ConfigImage &instrument, const ConfigImage &afterUpload) {
        m_file->showComparison(instrument, QStringLiteral("Instrument"), afterUpload,
                               QStringLiteral("After the upload"));
    };
    m_factory = new FactoryWindow(this);
    m_factory->setRunner(m_runner.get(), [this](const FactoryWindow::Body &body, const FactoryWindow::Done &done) {
        m_instrument->run(Operation::Factory, body, true, done);
    });
    m_factory->hide();

    m_state.onSenderPositionsChanged = [this] { m_senders->positionListsFromState(); };
    hideNmeaMonitor = [this] { m_nmeaData->stop(); };
    placeNmeaMonitor = [this](int top, int left) { twips::placeWindow(m_nmeaData, top, left); };
    NmeaSelector *selector = nmeaSelector();
    selector->onViewData = [this] { m_instrument->startNmeaMonitor(); };
    selector->onStopMonitor = [this] { m_nmeaData->stop(); };
}

void MainWindow::connectInstrumentArea()
{
    m_instrument->attach(
        {m_runner.get(), m_linkWindows.get(), m_warningQuestion.get(), m_about, m_factory, m_nmeaData});
    m_instrument->onImageLocked = [this](bool locked) { setImageEditable(!locked); };
    m_instrument->onOperationEnded = [this] { operationFinished(); };
    m_instrument->takeImage = [this](const ImageBytes &image, ImageChange change, const QString &step, bool saved) {
        takeOperationImage(image, change, step, saved);
    };
    m_instrument->takeNewConfigCount = [this](quint16 count) { m_image->setSystemWord(layout::kUploadCounter, count); };
    m_instrument->verifyAfterUpload = [this] { return m_verifyAfterUpload->isChecked(); };
    m_instrument->imageSource = [this] {
        const QString source = m_history->source();
        return source == ImageHistory::kDownloaded || source == ImageHistory::kFactoryDefaults ? QString() : source;
    };
    m_instrument->showComparison = [this](const ConfigImage &before, const QString &beforeTitle,
                                          const ConfigImage &after, const QString &afterTitle) {
        m_file->showComparison(before, beforeTitle, after, afterTitle);
    };
    m_file->onImageOpened = [this] {
        m_instrument->showPortNumber(m_state.link.portNumber);
        updateInstrumentDisplay();
        showAlarmLimits();
        m_image->announceReplaced();
    };
}

void MainWindow::operationFinished()
{
    if (m_quitAfterTransfer && !m_runner->running()) {
        m_quitAfterTransfer = false;
        shutDownEditor();
    }
}

SerialLink &MainWindow::link()
{
    return m_runner->link();
}

bool MainWindow::operationRunning() const
{
    return m_runner->running();
}

void MainWindow::takeOperationImage(const ImageBytes &image, ImageChange change, const QString &step, bool saved)
{
    switch (change) {
    case ImageChange::None:
        return;
    case ImageChange::Settings:
    case ImageChange::System:
        std::memcpy(m_state.systemBlock, image.systemBlock, sizeof m_state.systemBlock);
        break;
    case ImageChange::Checksums:
        for (int n = 1; n <= 16; ++n)
            m_state.configBlock[n][layout::kBlockChecksum] = image.configBlock[n][layout::kBlockChecksum];
        break;
    case ImageChange::Replaced:
        m_state.copyImageFrom(image);
        positionSenderLists(m_state);
        m_state.session.editCurveNumber = 99;
        break;
    }
    updateInstrumentDisplay();
    showAlarmLimits();
    m_image->announceReplaced();
    // A download's settings come from the instrument: the image's source says so.
    if (!step.isEmpty())
        m_history->recordAs(step, saved, change == ImageChange::Settings ? ImageHistory::kDownloaded : QString());
}

namespace
{
// Every item of a menu and of the menus inside it: a disabled submenu leaves its
// items reachable by their shortcuts and by assistive technology.
void setMenuItemsEnabled(const QMenu *menu, const QAction *keep, bool enabled)
{
    for (QAction *item : menu->actions()) {
        if (item == keep || item->isSeparator())
            continue;
        item->setEnabled(enabled);
        if (item->menu())
            setMenuItemsEnabled(item->menu(), keep, enabled);
    }
}
} // namespace

void MainWindow::setImageEditable(bool editable)
{
    // The content, not its scroll area: on a small screen the window still scrolls.
    m_scroll->widget()->setEnabled(editable);
    for (QAction *menu : menuBar()->actions())
        if (menu->menu())
            setMenuItemsEnabled(menu->menu(), m_exit, editable);
    for (QWidget *editor : std::initializer_list<QWidget *>{m_senders, m_damping, m_todAlarms, m_nmea})
        if (editor)
            editor->setEnabled(editable);
    if (editable)
        QApplication::restoreOverrideCursor();
    else
        QApplication::setOverrideCursor(Qt::BusyCursor);
}
