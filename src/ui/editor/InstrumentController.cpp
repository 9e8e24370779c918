#include "ui/editor/InstrumentController.h"

#include "core/ConfigImage.h"
#include "core/EditorState.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "link/InstrumentContext.h"
#include "link/OperationRunner.h"
#include "link/SerialLink.h"
#include "link/Transfers.h"
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
    : QObject(parent), m_state(state), m_prompts(prompts)
{
}

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

void InstrumentController::run(const std::function<void()> &body, bool locksImage)
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
    InstrumentContext &ctx = runner.context();
    if (!runner.start([&ctx, body] { runInstrumentOperation(ctx.link, ctx.state, ctx.prompts, ctx.view, body); }))
        operationFinished();
}

void InstrumentController::operationFinished()
{
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
    transfer::UploadOptions options;
    options.verify = verifyAfterUpload && verifyAfterUpload();
    run([this, options] {
        transfer::upload(m_parts.runner->context(), *m_parts.warning, transfer::PcClock(), options);
    });
}

void InstrumentController::download()
{
    run([this] { transfer::download(m_parts.runner->context(), *m_parts.warning); });
    if (onDownloadStarted)
        onDownloadStarted();
}

void InstrumentController::compareWithInstrument()
{
    run([this] {
        ConfigImage instrument;
        if (transfer::readForCompare(m_parts.runner->context(), instrument) != transfer::Outcome::Done)
            return;
        m_parts.runner->onWindows([this, &instrument] {
            if (showComparison)
                showComparison(ConfigImage::of(m_state), QStringLiteral("Editor"), instrument,
                               QStringLiteral("Instrument"));
        });
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
    run([this] { transfer::createBackup(m_parts.runner->context()); });
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
    run([this] { transfer::restoreBackup(m_parts.runner->context()); });
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
    m_parts.monitor->start(*m_parts.runner, m_state.nmea.channel);
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

void InstrumentController::setConnectedLabel(const QString &text)
{
    m_connected->setText(text);
}

void InstrumentController::setSerialNumberLabel(const QString &text)
{
    m_serialNumber->setText(text);
}

void InstrumentController::showIdentity()
{
    m_parts.about->showIdentity();
    m_parts.factory->showIdentity();
}

void InstrumentController::showUnitVersions()
{
    m_parts.factory->showUnitVersions();
}

void InstrumentController::showProductCode(int code)
{
    m_parts.factory->showProductCode(code);
}

void InstrumentController::showNewConfigCount(int count)
{
    m_parts.factory->showNewConfigCount(count);
}
