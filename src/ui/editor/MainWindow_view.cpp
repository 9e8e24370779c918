// MainWindow: how the face and the sources areas work together, and the redraw of both.
#include "ui/editor/MainWindow.h"

#include "core/DisplayTable.h"
#include "core/ImageModel.h"
#include "ui/Twips.h"
#include "ui/dialogs/NmeaMonitorWindow.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/SourcesController.h"

#include <QGroupBox>

void MainWindow::connectAreas()
{
    const auto redraw = [this] {
        updateInstrumentDisplay();
        showAlarmLimits();
    };
    m_face->onRedraw = redraw;
    m_face->onConfigurationChosen = [this](int index) { showConfiguration(index); };
    m_sources->onRedraw = redraw;
    m_sources->onHideNmeaWindows = [this] { hideNmeaWindows(); };
    m_sources->onNmeaSourcePicked = [this](int display, int position, const twips::Beside &beside) {
        const displays::DisplayDef &def = displays::kDisplays[display];
        if (placeNmeaMonitor)
            placeNmeaMonitor(def.monitorTop, def.monitorLeft);
        nmeaSelector()->openForSource(position, beside);
    };
}

void MainWindow::placeMonitorBesideSelector()
{
    // The monitor shows what the selector's choice brings: beside it, never over it.
    m_nmeaData->place = [this] {
        if (!m_nmea || !m_nmea->isVisible())
            return;
        const QRect selector = twips::globalRect(m_nmea);
        twips::placeBeside(m_nmeaData, {selector, selector.top(), {selector}});
    };
}

void MainWindow::updateInstrumentDisplay()
{
    hideNmeaWindows();
    m_face->showIcons();
    refreshSettingsMenu();
    m_sources->refreshLists();
    // The captions name the configuration shown; a file load or download that moved byte 6
    // without a configuration button press must not leave them naming another one.
    if (m_state.session.currentConfig != m_captionConfig)
        setConfigCaptions(m_state.session.currentConfig);
}

void MainWindow::showAlarmLimits()
{
    m_sources->showLimits();
}

void MainWindow::setConfigCaptions(int config)
{
    m_captionConfig = config;
    m_sources->setCaption(config);
    m_face->setCaptions(config);
}

void MainWindow::showConfiguration(int index)
{
    if (index < 0 || index > 15)
        return;
    m_face->markConfigurationButton(index);
    m_state.session.currentConfig = quint8(index + 1);
    m_image->setShownConfiguration(index + 1);
    updateInstrumentDisplay();
    showAlarmLimits();
    setConfigCaptions(index + 1);
    hideNmeaWindows();
}

void MainWindow::hideNmeaWindows()
{
    if (m_nmea)
        m_nmea->hide();
    if (hideNmeaMonitor)
        hideNmeaMonitor();
}

void MainWindow::onConnectionTimer()
{
    m_sources->blink();
    m_instrument->updateIndicator();
}
