// MainWindow: how the face and the sources areas work together, and the redraw of both.
#include "ui/editor/MainWindow.h"

#include "core/DisplayTable.h"
#include "core/ImageModel.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FaceController.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/SourcesController.h"

#include <QGroupBox>

void MainWindow::connectAreas()
{
    const auto redraw = [this] {
        UpdateInstrumentDisplay();
        ShowAlarmLimits();
    };
    m_face->onRedraw = redraw;
    m_face->onConfigurationChosen = [this](int index) { showConfiguration(index); };
    m_sources->onRedraw = redraw;
    m_sources->onHideNmeaWindows = [this] { HideNmeaWindows(); };
    m_sources->onNmeaSourcePicked = [this](int display, int position, const twips::Beside &beside) {
        const displays::DisplayDef &def = displays::kDisplays[display];
        if (placeNmeaMonitor)
            placeNmeaMonitor(def.monitorTop, def.monitorLeft);
        nmeaSelector()->openForSource(position, beside);
    };
}

void MainWindow::UpdateInstrumentDisplay()
{
    HideNmeaWindows();
    m_face->showIcons();
    RefreshSettingsMenu();
    m_sources->refreshLists();
    // The captions name the configuration shown; a file load or download that moved byte 6
    // without a configuration button press must not leave them naming another one.
    if (m_state.session.currentConfig != m_captionConfig)
        setConfigCaptions(m_state.session.currentConfig);
}

void MainWindow::ShowAlarmLimits()
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
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
    setConfigCaptions(index + 1);
    HideNmeaWindows();
}

void MainWindow::HideNmeaWindows()
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
