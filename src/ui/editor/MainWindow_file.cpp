// MainWindow: start-up, shutdown, the File and Help menus, and the factory reset.
#include "ui/editor/MainWindow.h"

#include "core/ConfigFile.h"
#include "core/Defaults.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "core/StartUp.h"
#include "link/OperationRunner.h"
#include "link/SerialLink.h"
#include "ui/AboutWindow.h"
#include "ui/Twips.h"
#include "ui/dialogs/DampingWindow.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/TimeOfDayAlarmsWindow.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/FileController.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/SourcesController.h"
#include "ui/factory/FactoryWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

void MainWindow::startUp()
{
    const bool firstRun = m_sources->isFirstRun();
    resetStartupState(m_state, firstRun);
    twips::placeWindow(m_factory, FactoryWindow::kTopTwips, FactoryWindow::kLeftTwips);

    bool dataFolder = false;
    m_workingFolder = chooseWorkingFolder(m_programFolder, &dataFolder);
    QDir::setCurrent(m_workingFolder);

    if (firstRun) {
        m_sources->setCaptionText(QStringLiteral("Data for Current Configuration #1 "));
        m_sources->fillLists();
        nmeaSelector();
    }

    const DefaultLoadOutcome outcome = loadDefaultConfiguration(m_state, m_state.session.configFileName);
    m_state.session.editCurveNumber = 99;
    m_startSource = outcome.loaded || outcome.saveError.isEmpty() ? QFileInfo(m_state.session.configFileName).fileName()
                                                                  : ImageHistory::kFactoryDefaults;
    if (outcome.loaded)
        m_instrument->showPortNumber(m_state.link.portNumber);
    else
        m_instrument->setCommsPortLabel(QStringLiteral("COM Port = 0"));
    m_damping->showStartUpValues();
    m_todAlarms->showStartUpValues();
    updateInstrumentDisplay();
    showAlarmLimits();
    // The defaults could not be written: the editor still runs with them in memory.
    if (!outcome.saveError.isEmpty())
        m_prompts.message(QStringLiteral("DEFAULT.CFG"),
                          QStringLiteral("The default configuration file could not be written:\r\n%1\r\n%2.\r\n"
                                         "The editor starts with the factory defaults in memory.")
                              .arg(QDir::toNativeSeparators(outcome.path), outcome.saveError),
                          Prompts::Icon::Exclamation);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!quitAfterTransfer()) {
        event->ignore();
        return;
    }
    shutDownEditor();
    event->accept();
}

bool MainWindow::quitAfterTransfer()
{
    if (!m_instrument->transferRunning())
        return true;
    // A transfer stops between whole blocks, leaves the instrument's command mode and
    // says what was written; the editor then closes.
    m_prompts.beep();
    if (m_prompts.askYesNo(QStringLiteral("Quit Program"),
                           QStringLiteral("A transfer with the instrument is running.\r\n"
                                          "Cancel it and quit when it has stopped?"),
                           Prompts::Icon::Question) == kYes) {
        m_quitAfterTransfer = true;
        m_runner->requestCancel();
    }
    return false;
}

namespace
{
// How long closing waits for a running operation to reach a safe step.
constexpr int kOperationEndGraceMs = 10000;
} // namespace

void MainWindow::shutDownEditor()
{
    if (!m_state.session.exitPrompted) {
        m_state.session.exitPrompted = true;
        m_prompts.beep();
        const int answer = m_prompts.askYesNo(QStringLiteral("Quit Program"),
                                              QStringLiteral("Save setup data to default setup file before "
                                                             "exiting program?"),
                                              Prompts::Icon::Question);
        if (answer == kYes) {
            m_state.session.configFileName = QStringLiteral("DEFAULT.CFG");
            m_file->saveTo(m_state.session.configFileName);
        }
    }
    if (m_shutDown)
        return;
    if (m_runner->running()) {
        // A transfer or monitor still running ends at its next safe step (the monitor
        // takes the instrument out of monitor mode); the editor then closes. One that
        // does not get there in time is ended at its next step on the line.
        m_quitAfterTransfer = true;
        m_nmeaData->stop();
        m_runner->requestCancel();
        QTimer::singleShot(kOperationEndGraceMs, this, [this] {
            if (m_runner->running())
                m_runner->shutDown();
        });
        return;
    }
    m_shutDown = true;
    m_runner->shutDown();
    m_instrument->finishRecording();
    m_timer->stop();
    // Unload the other windows, most recently created first.
    const QList<QWidget *> windows = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if ((*it)->isWindow())
            (*it)->hide();
    hide();
    if (endProgram)
        endProgram();
    else
        QCoreApplication::exit(0);
}

void MainWindow::reloadWithDefaults()
{
    startUp();
    writeDefaultsToRam(m_state);
    updateInstrumentDisplay();
    showAlarmLimits();
    m_image->announceReplaced();
    m_face->focusFirstConfiguration();
    setConfigCaptions(1);
}

void MainWindow::onNewTriggered()
{
    m_prompts.beep();
    const int answer = m_prompts.askYesNo(QStringLiteral("Load default display configurations"),
                                          QStringLiteral("Are you sure?\r\nThis will overwrite all the current "
                                                         "display configurations and settings!"),
                                          Prompts::Icon::Question);
    if (answer != kYes)
        return;
    m_history->checkpoint(); // what the user did before is a step of its own
    reloadWithDefaults();
    m_history->recordAs(QStringLiteral("New"), true, ImageHistory::kFactoryDefaults);
    m_history->markClean(ImageHistory::kFactoryDefaults);
}

void MainWindow::onResetDefaultsTriggered()
{
    m_prompts.beep();
    const int answer = m_prompts.askYesNo(QStringLiteral("Reset all values to Factory Defaults"),
                                          QStringLiteral("WARNING - This will overwrite all values and settings in "
                                                         "the Tessaro!\r\nAre you sure that you want to do this?"),
                                          Prompts::Icon::Exclamation);
    if (answer == kNo)
        return;
    m_history->checkpoint();
    reloadWithDefaults();
    m_history->recordAs(QStringLiteral("Reset to Factory Defaults"), false, ImageHistory::kFactoryDefaults);
    m_instrument->uploadFactoryDefaults();
}

void MainWindow::onExitTriggered()
{
    if (quitAfterTransfer())
        shutDownEditor();
}
