// MainWindow: the serial link, the windows of other subsystems, and the instrument operations.
#include "ui/editor/MainWindow.h"

#include "core/ConfigImage.h"
#include "core/EditorState.h"
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
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FillShape.h"
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
    m_linkWindows->setMainView(this);
    m_runner = std::make_unique<OperationRunner>(m_state, m_prompts, *m_linkWindows, m_clock, *port,
                                                 [resolver](int n) { return resolver->device(n); });
    m_runner->setRedraw([this] {
        UpdateInstrumentDisplay();
        ShowAlarmLimits();
    });
    m_linkWindows->onCancel = [this] { m_runner->requestCancel(); };
    connect(m_runner.get(), &OperationRunner::finished, this, &MainWindow::operationFinished);
    // The windows' side of the instrument: the editor's own state and windows.
    m_windowContext = std::make_unique<InstrumentContext>(
        InstrumentContext{m_state, m_prompts, m_runner->link(), *m_linkWindows, {}, {}});

    m_about = new AboutWindow(m_state, this);
    m_about->hide();
    m_senders = new SendersWindow(m_state, m_prompts, this);
    m_damping = new DampingWindow(m_state, m_prompts, this);
    m_todAlarms = new TimeOfDayAlarmsWindow(m_state, m_prompts, this);
    m_nmeaData = new NmeaMonitorWindow(this);
    m_nmeaData->hide();
    m_warning = new TransferWarning(m_state, this);
    m_warning->hide();
    m_warningQuestion = std::make_unique<WarningQuestion>(*m_warning, m_state, m_clock, m_runner.get());
    m_warningQuestion->onCompare = [this](const ConfigImage &instrument, const ConfigImage &afterUpload) {
        showComparison(instrument, QStringLiteral("Instrument"), afterUpload, QStringLiteral("After the upload"));
    };
    m_factory = new FactoryWindow(*m_windowContext, this);
    m_factory->setRunner(m_runner.get(), [this](const std::function<void()> &body) { instrumentOperation(body); });
    m_factory->hide();

    m_state.onSenderPositionsChanged = [this] { m_senders->positionListsFromState(); };
    onPressureUnitsChanged = [this](bool bars) { m_senders->setPressureInBars(bars); };
    onTemperatureUnitsChanged = [this](bool celsius) { m_senders->setTemperatureInCelsius(celsius); };
    hideNmeaMonitor = [this] { m_nmeaData->stop(); };
    placeNmeaMonitor = [this](int top, int left) { twips::placeWindow(m_nmeaData, top, left); };
    NmeaSelector *selector = nmeaSelector();
    selector->onViewData = [this] { startNmeaMonitor(); };
    selector->onStopMonitor = [this] { m_nmeaData->stop(); };
}

void MainWindow::instrumentOperation(const std::function<void()> &body, bool locksImage)
{
    if (m_runner->running()) {
        tellInstrumentBusy(m_prompts);
        return;
    }
    // While a transfer runs, nothing that edits the image can be used: the window
    // shows it is busy and stays responsive; File, Exit still ends the editor.
    m_transferRunning = locksImage;
    if (locksImage)
        setImageEditable(false);
    InstrumentContext &ctx = m_runner->context();
    if (!m_runner->start([&ctx, body] { runInstrumentOperation(ctx.link, ctx.state, ctx.prompts, ctx.view, body); }))
        operationFinished();
}

void MainWindow::operationFinished()
{
    if (m_transferRunning) {
        m_transferRunning = false;
        setImageEditable(true);
    }
    if (m_quitAfterTransfer && !m_runner->running()) {
        m_quitAfterTransfer = false;
        ShutDownEditor();
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
            if (item != Exit)
                item->setEnabled(editable);
    for (QWidget *editor : std::initializer_list<QWidget *>{m_senders, m_damping, m_todAlarms, m_nmea})
        if (editor)
            editor->setEnabled(editable);
    if (editable)
        QApplication::restoreOverrideCursor();
    else
        QApplication::setOverrideCursor(Qt::BusyCursor);
}

void MainWindow::startNmeaMonitor()
{
    // One monitor at a time: "View Data" while it runs is ignored.
    if (m_nmeaData->isMonitoring())
        return;
    // The monitor does not touch the image: editing goes on beside it.
    m_nmeaData->start(*m_runner, m_state.NmeaChannel);
}

// --- InstrumentView -------------------------------------------------------------------------

void MainWindow::setCommsPortLabel(const QString &text)
{
    lblCommsPort->setText(text);
}

void MainWindow::setConnectedLabel(const QString &text)
{
    lblConnected->setText(text);
}

void MainWindow::setSerialNumberLabel(const QString &text)
{
    lblTessaroSN->setText(text);
}

void MainWindow::showIdentity()
{
    m_about->loadForm();
    m_factory->showIdentity();
}

void MainWindow::showUnitVersions()
{
    m_factory->showUnitVersions();
}

void MainWindow::showProductCode(int code)
{
    m_factory->showProductCode(code);
}

void MainWindow::showNewConfigCount(int count)
{
    m_factory->showNewConfigCount(count);
}

// --- Edit menu entries that open windows or talk to the instrument ----------------------------

void MainWindow::onViewDampingTriggered()
{
    m_damping->open();
}

void MainWindow::onSendersTriggered()
{
    m_senders->open();
}

void MainWindow::onViewTodAlarmsTriggered()
{
    m_todAlarms->open();
}

void MainWindow::onCommunicationsPortTriggered()
{
    // The chooser is shown and nothing waits for it: Accept stores the number (0 for
    // "None"), the close box leaves the port as it was. The number must not change
    // under an operation that is using the port.
    if (m_runner->running()) {
        tellInstrumentBusy(m_prompts);
        return;
    }
    m_linkWindows->selectPortOption(m_state.ComPortNumber);
    m_linkWindows->showPortChooser();
}

void MainWindow::onUploadClicked()
{
    transfer::UploadOptions options;
    options.verify = VerifyAfterUpload->isChecked();
    instrumentOperation(
        [this, options] { transfer::Upload(m_runner->context(), *m_warningQuestion, transfer::PcClock(), options); });
}

void MainWindow::onDownloadClicked()
{
    instrumentOperation([this] { transfer::Download(m_runner->context(), *m_warningQuestion); });
}

void MainWindow::onCompareWithInstrumentTriggered()
{
    instrumentOperation([this] {
        ConfigImage instrument;
        if (transfer::ReadForCompare(m_runner->context(), instrument) != transfer::Outcome::Done)
            return;
        m_runner->onWindows([this, &instrument] {
            showComparison(ConfigImage::of(m_state), QStringLiteral("Editor"), instrument,
                           QStringLiteral("Instrument"));
        });
    });
}

void MainWindow::onCreateBackupTriggered()
{
    m_prompts.beep();
    const int answer = m_prompts.askYesNo(
        QStringLiteral("Create System Backup"),
        QStringLiteral("WARNING - This will overwrite any previous System Backup data saved in the Tessaro!\r\n"
                       "Are you sure that you want to do this?"),
        Prompts::Icon::Exclamation);
    m_state.MsgAnswer = quint8(answer);
    if (answer == kNo)
        return;
    instrumentOperation([this] { transfer::CreateBackup(m_runner->context()); });
}

void MainWindow::onRestoreBackupTriggered()
{
    m_prompts.beep();
    const int answer = m_prompts.askYesNo(
        QStringLiteral("Restore All from Backup"),
        QStringLiteral(
            "WARNING - This will overwrite all calibration, alarms and configuration data in the Tessaro!\r\n"
            "Data will be copied from Backup Memory inside the Tessaro.\r\n"
            "Are you sure that you want to do this?"),
        Prompts::Icon::Exclamation);
    m_state.MsgAnswer = quint8(answer);
    if (answer == kNo)
        return;
    instrumentOperation([this] { transfer::RestoreBackup(m_runner->context()); });
}

void MainWindow::onConnectedLabelClicked()
{
    if (!m_state.FactoryArmed)
        return;
    m_factory->show();
    m_factory->raise();
    m_factory->activateWindow();
}
