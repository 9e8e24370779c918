#include "ui/editor/InstrumentController.h"

#include "core/ConfigImage.h"
#include "core/EditorState.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/OperationRunner.h"
#include "link/SerialLink.h"
#include "link/Transfers.h"
#include "recording/BackgroundRecorder.h"
#include "ui/AboutWindow.h"
#include "ui/ConnectionIndicator.h"
#include "ui/LinkWindows.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FillShape.h"
#include "ui/editor/MakeWidgets.h"
#include "ui/factory/FactoryWindow.h"

#include <QHBoxLayout>

InstrumentController::InstrumentController(EditorState &state, Prompts &prompts, QObject *parent)
    : QObject(parent), m_state(state), m_prompts(prompts), m_recorder(new recording::BackgroundRecorder(this))
{
    connect(m_recorder, &recording::BackgroundRecorder::recorded, this, &InstrumentController::entryRecorded);
    connect(m_recorder, &recording::BackgroundRecorder::problem, this, [this](const QString &problem) {
        tellArchiveProblem(problem, QStringLiteral("The instrument operation itself was not affected. Further "
                                                   "problems of the archive are not shown again until the editor "
                                                   "is started anew."));
    });
}

InstrumentController::~InstrumentController() = default;

void InstrumentController::attach(const Parts &parts)
{
    m_parts = parts;
    connect(m_parts.runner, &OperationRunner::finished, this, &InstrumentController::operationFinished);
}

QWidget *InstrumentController::buildConnectionBar(QWidget *parent)
{
    auto *bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("connectionBar"));

    QGroupBox *connection = ui::makeFrame(bar, QStringLiteral("fraConnection"), QStringLiteral("Connection"));
    m_indicator = new FillShape(QColor(255, 0, 0), connection);
    m_indicator->setObjectName(QStringLiteral("shpCommsConnected"));
    m_indicator->setAccessibleName(QStringLiteral("Connection indicator"));
    m_connected = new ClickLabel(QStringLiteral("Not Connected to Corvane"), connection);
    m_connected->setObjectName(QStringLiteral("lblConnected"));
    // Wide enough for the longest text the indicator shows, so the bar does not jump.
    m_connected->setMinimumWidth(
        m_connected->fontMetrics().horizontalAdvance(QStringLiteral("Not Connected to Corvane")) + 8);
    connect(m_connected, &ClickLabel::clicked, this, &InstrumentController::openFactoryWindowIfArmed);
    auto *connectionLayout = new QHBoxLayout(connection);
    connectionLayout->addWidget(m_indicator);
    connectionLayout->addWidget(m_connected, 1);

    QGroupBox *portFrame = ui::makeFrame(bar, QStringLiteral("fraComPort"), QStringLiteral("Serial Port"));
    m_port = ui::makeLabel(portFrame, QStringLiteral("lblCommsPort"), QStringLiteral("COM Port = 0"));
    m_port->setMinimumWidth(m_port->fontMetrics().horizontalAdvance(QStringLiteral("COM Port =  16")) + 8);
    auto *portLayout = new QHBoxLayout(portFrame);
    portLayout->addWidget(m_port);

    m_serialNumber = ui::makeLabel(bar, QStringLiteral("lblTessaroSN"), QStringLiteral("  Corvane SN#:  Unknown"));
    m_serialNumber->setMinimumWidth(
        m_serialNumber->fontMetrics().horizontalAdvance(QStringLiteral(" Corvane SN#:  4294967295")) + 8);

    const QString uploadText = QStringLiteral("Upload Display Configurations To Corvane");
    const QString downloadText = QStringLiteral("Download Display Configurations From Corvane");
    m_upload = ui::makeButton(bar, QStringLiteral("cmdUpload"), uploadText, uploadText);
    m_download = ui::makeButton(bar, QStringLiteral("cmdDownload"), downloadText, downloadText);
    connect(m_upload, &QPushButton::clicked, this, &InstrumentController::upload);
    connect(m_download, &QPushButton::clicked, this, &InstrumentController::download);

    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(connection);
    layout->addWidget(portFrame);
    layout->addSpacing(6);
    layout->addWidget(m_serialNumber);
    layout->addStretch(1);
    layout->addWidget(m_upload);
    layout->addWidget(m_download);
    return bar;
}

QList<QWidget *> InstrumentController::tabOrder() const
{
    return {m_connected, m_upload, m_download};
}

// --- running operations ---------------------------------------------------------------------

void InstrumentController::run(Operation kind, const Body &body, bool locksImage, const Done &done)
{
    OperationRunner &runner = *m_parts.runner;
    if (runner.running()) {
        tellInstrumentBusy(m_prompts);
        return;
    }
    // While a transfer runs, nothing that edits the image can be used: the window
    // shows it is busy and stays responsive; File, Exit still ends the editor.
    m_transferRunning = locksImage;
    if (locksImage && onImageLocked)
        onImageLocked(true);
    const QString source = imageSource ? imageSource() : QString();
    const OperationInput input = operationInput(m_state);
    const bool started =
        runner.start(OperationRecord::from(input), body, [this, kind, done, source](const OperationRecord &r) {
            apply(kind, r);
            if (done)
                done(r);
            // After everything the operation itself shows.
            recordEntry(kind, r, source);
        });
    if (!started)
        operationFinished();
}

void InstrumentController::apply(Operation kind, const OperationRecord &result)
{
    // What every operation learnt: the port it used (the error prompt may have taken
    // another), where it left the link, the instrument, the choices of its questions.
    if (m_state.link.portNumber != result.link.portNumber) {
        m_state.link.portNumber = result.link.portNumber;
        showPortNumber(m_state.link.portNumber);
    }
    m_state.link.connected = result.link.connected;
    m_state.link.timedOut = result.link.timedOut;
    m_state.instrument = result.instrument;
    m_state.transfer = result.transfer;
    m_state.factory = result.factory;
    if (result.known.any() && onInstrumentImage)
        onInstrumentImage(result.instrumentImage, result.known);

    switch (kind) {
    case Operation::Download:
        // Only a download that finished changes the image, as one step that counts as
        // saved; one that did not leaves the image, its history and the mark alone.
        if (result.imageChange == ImageChange::Settings && takeImage)
            takeImage(result, ImageChange::Settings, QStringLiteral("Download from Corvane"), true);
        return;
    case Operation::Compare:
        if (result.known.whole() && showComparison)
            showComparison(ConfigImage::of(m_state), QStringLiteral("Editor"), result.instrumentImage,
                           QStringLiteral("Instrument"));
        break;
    default:
        break;
    }
    if (result.imageChange != ImageChange::None && takeImage)
        takeImage(result, result.imageChange, QString(), false);
    // The counter the connection read is the instrument's; new factory defaults bring their own.
    if (result.newConfigCount && result.imageChange != ImageChange::Replaced && takeNewConfigCount)
        takeNewConfigCount(*result.newConfigCount);
}

namespace
{
// The operation as the archive names it; empty for one that reads no part of the image.
QString archiveName(Operation kind, bool factoryReset)
{
    switch (kind) {
    case Operation::Upload:
        return factoryReset ? archive::operation::kFactoryReset : archive::operation::kUpload;
    case Operation::Download:
        return archive::operation::kDownload;
    case Operation::Compare:
        return archive::operation::kCompare;
    case Operation::Backup:
        return archive::operation::kBackup;
    case Operation::Restore:
        return archive::operation::kRestore;
    case Operation::Factory:
        return archive::operation::kFactory;
    case Operation::Monitor:
        break;
    }
    return QString();
}
} // namespace

void InstrumentController::recordEntry(Operation kind, const OperationRecord &result, const QString &source)
{
    const QString operation = archiveName(kind, m_factoryReset);
    if (operation.isEmpty())
        return;
    const bool fromFile = kind == Operation::Upload || kind == Operation::Download || kind == Operation::Compare;
    const recording::About about{operation, fromFile && !m_factoryReset ? source : QString(),
                                 QStringLiteral("COM%1").arg(result.link.portNumber)};
    m_factoryReset = false;
    m_recorder->record(result, about);
}

void InstrumentController::tellArchiveProblem(const QString &problem, const QString &after)
{
    m_prompts.message(QStringLiteral("Instrument History"), problem + QStringLiteral("\r\n") + after,
                      Prompts::Icon::Exclamation);
}

void InstrumentController::finishRecording()
{
    const QString lost = m_recorder->finish();
    if (!lost.isEmpty())
        tellArchiveProblem(lost, QStringLiteral("The instrument operations themselves were not affected."));
}

void InstrumentController::operationFinished()
{
    m_factoryReset = false;
    if (m_transferRunning) {
        m_transferRunning = false;
        if (onImageLocked)
            onImageLocked(false);
    }
    if (onOperationEnded)
        onOperationEnded();
}

void InstrumentController::upload()
{
    startUpload(false);
}

void InstrumentController::uploadFactoryDefaults()
{
    startUpload(true);
}

void InstrumentController::startUpload(bool factoryReset)
{
    if (m_parts.runner->running()) {
        tellInstrumentBusy(m_prompts);
        return;
    }
    transfer::UploadOptions options;
    options.verify = verifyAfterUpload && verifyAfterUpload();
    WarningQuestion *warning = m_parts.warning;
    m_factoryReset = factoryReset;
    run(Operation::Upload, [warning, options](InstrumentContext &ctx) {
        ctx.state.outcome = transfer::upload(ctx, *warning, transfer::PcClock(), options);
    });
}

void InstrumentController::download()
{
    WarningQuestion *warning = m_parts.warning;
    run(Operation::Download,
        [warning](InstrumentContext &ctx) { ctx.state.outcome = transfer::download(ctx, *warning); });
}

void InstrumentController::compareWithInstrument()
{
    run(Operation::Compare, [](InstrumentContext &ctx) {
        ConfigImage instrument;
        ctx.state.outcome = transfer::readForCompare(ctx, instrument);
    });
}

bool InstrumentController::confirmWarning(const QString &title, const QString &text)
{
    m_prompts.beep();
    return m_prompts.askYesNo(title, text, Prompts::Icon::Exclamation) != kNo;
}

void InstrumentController::createBackup()
{
    if (!confirmWarning(
            QStringLiteral("Create System Backup"),
            QStringLiteral("WARNING - This will overwrite any previous System Backup data saved in the Tessaro!\r\n"
                           "Are you sure that you want to do this?")))
        return;
    run(Operation::Backup, [](InstrumentContext &ctx) { ctx.state.outcome = transfer::createBackup(ctx); });
}

void InstrumentController::restoreBackup()
{
    if (!confirmWarning(
            QStringLiteral("Restore All from Backup"),
            QStringLiteral(
                "WARNING - This will overwrite all calibration, alarms and configuration data in the Tessaro!\r\n"
                "Data will be copied from Backup Memory inside the Tessaro.\r\n"
                "Are you sure that you want to do this?")))
        return;
    run(Operation::Restore, [](InstrumentContext &ctx) { ctx.state.outcome = transfer::restoreBackup(ctx); });
}

void InstrumentController::choosePort()
{
    // The chooser is shown and nothing waits for it: Accept stores the number (0 for
    // "None"), the close box leaves the port as it was. The number must not change
    // under an operation that is using the port.
    if (m_parts.runner->running()) {
        tellInstrumentBusy(m_prompts);
        return;
    }
    m_parts.linkWindows->selectPortOption(m_state.link.portNumber);
    m_parts.linkWindows->showPortChooser();
}

void InstrumentController::openFactoryWindowIfArmed()
{
    if (!m_state.factory.armed)
        return;
    m_parts.factory->show();
    m_parts.factory->raise();
    m_parts.factory->activateWindow();
}

void InstrumentController::startNmeaMonitor()
{
    // One monitor at a time: "View Data" while it runs is ignored.
    if (m_parts.monitor->isMonitoring())
        return;
    // The monitor does not touch the image: editing goes on beside it.
    m_parts.monitor->start(*m_parts.runner, m_state.nmea.channel, OperationRecord::from(operationInput(m_state)),
                           [this](const OperationRecord &r) { apply(Operation::Monitor, r); });
}

// --- what the window shows of the instrument ---------------------------------------------------

void InstrumentController::updateIndicator()
{
    const ConnectionIndicator indicator = connectionIndicator(m_state.link.connected);
    m_indicator->setFillColor(indicator.fill);
    m_connected->setText(indicator.text);
}

void InstrumentController::showPortNumber(int port)
{
    m_port->setText(QStringLiteral("COM Port = ") + numtext::signedText(qint64(port)));
}

void InstrumentController::setCommsPortLabel(const QString &text)
{
    m_port->setText(text);
}

void InstrumentController::portChanged(int portNumber)
{
    showPortNumber(portNumber);
}

void InstrumentController::linkStatusChanged(LinkStatus status)
{
    m_connected->setText(linkStatusText(status));
}

void InstrumentController::identified(const InstrumentIdentity &identity)
{
    m_serialNumber->setText(QStringLiteral(" Corvane SN#: ") + identity.serialNumber);
    // The About window shows the editor's record of the instrument.
    m_state.instrument.serialNumber = identity.serialNumber;
    m_state.instrument.softwareVersion = identity.softwareVersion;
    m_state.instrument.hardwareVersion = identity.hardwareVersion;
    m_parts.about->showIdentity();
    m_parts.factory->showIdentity(identity);
}

void InstrumentController::versionsRead(const InstrumentIdentity &identity)
{
    m_parts.factory->showUnitVersions(identity);
}

void InstrumentController::productCodeRead(int code)
{
    m_parts.factory->showProductCode(code);
}

void InstrumentController::newConfigCountRead(int count)
{
    m_parts.factory->showNewConfigCount(count);
}
