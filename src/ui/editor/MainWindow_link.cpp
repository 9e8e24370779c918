// MainWindow: the serial link, the windows of other subsystems, and the instrument operations.
#include "ui/editor/MainWindow.h"

#include "core/ConfigImage.h"
#include "core/EditorState.h"
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
    m_linkWindows = std::make_unique<LinkWindows>(m_state, this, resolver, &m_clock);
    m_linkWindows->setMainView(m_instrument);
    m_runner = std::make_unique<OperationRunner>(m_state, m_prompts, *m_linkWindows, m_clock, *port,
                                                 [resolver](int n) { return resolver->device(n); });
    // An operation put a new image in (a download): every window shows it.
    m_runner->setRedraw([this] {
        updateInstrumentDisplay();
        showAlarmLimits();
        m_image->announceReplaced();
    });
    m_linkWindows->onCancel = [this] { m_runner->requestCancel(); };
    // The windows' side of the instrument: the editor's own state and windows.
    m_windowContext = std::make_unique<InstrumentContext>(
        InstrumentContext{m_state, m_prompts, m_runner->link(), *m_linkWindows, {}, {}});

    m_about = new AboutWindow(m_state, this);
    m_about->hide();
    m_senders = new SendersWindow(m_state, *m_image, m_prompts, this);
    m_damping = new DampingWindow(*m_image, m_prompts, this);
    m_todAlarms = new TimeOfDayAlarmsWindow(*m_image, m_prompts, this);
    m_nmeaData = new NmeaMonitorWindow(this);
    m_nmeaData->hide();
    m_warning = new TransferWarning(m_state, this);
    m_warning->hide();
    m_warningQuestion = std::make_unique<WarningQuestion>(*m_warning, m_state, m_clock, m_runner.get());
    m_warningQuestion->onCompare = [this](const ConfigImage &instrument, const ConfigImage &afterUpload) {
        m_file->showComparison(instrument, QStringLiteral("Instrument"), afterUpload,
                               QStringLiteral("After the upload"));
    };
    m_factory = new FactoryWindow(*m_windowContext, this);
    m_factory->setRunner(m_runner.get(), [this](const std::function<void()> &body) { m_instrument->run(body); });
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
    // Runs after the download started: what it brings is one step and counts as saved.
    m_instrument->onDownloadStarted = [this] {
        m_history->recordAs(QStringLiteral("Download from Corvane"), true, ImageHistory::kDownloaded);
    };
    m_instrument->verifyAfterUpload = [this] { return m_verifyAfterUpload->isChecked(); };
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

void MainWindow::setImageEditable(bool editable)
{
    centralWidget()->setEnabled(editable);
    for (QAction *menu : menuBar()->actions())
        for (QAction *item : menu->menu() ? menu->menu()->actions() : QList<QAction *>())
            if (item != m_exit)
                item->setEnabled(editable);
    for (QWidget *editor : std::initializer_list<QWidget *>{m_senders, m_damping, m_todAlarms, m_nmea})
        if (editor)
            editor->setEnabled(editable);
    if (editable)
        QApplication::restoreOverrideCursor();
    else
        QApplication::setOverrideCursor(Qt::BusyCursor);
}
