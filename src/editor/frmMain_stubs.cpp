// frmMain: placeholders for start-up, files, transfers and the other windows until they are wired in.
#include "editor/frmMain.h"

#include "config/Defaults.h"
#include "editor/ClickLabel.h"
#include "editor/FillShape.h"

#include <QCloseEvent>

void frmMain::Form_Load()
{
    if (isFirstRun())
        FillDataSourceLists();
    nmeaSelector();
    WriteDefaultsToRam(m_state);
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
}

void frmMain::Form_Unload()
{
    ShutDownEditor();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::ShutDownEditor() {}
void frmMain::New_Click() {}
void frmMain::Open_Click() {}
void frmMain::Save_Click() {}
void frmMain::SaveAs_Click() {}
void frmMain::Exit_Click()
{
    close();
}
void frmMain::About_Click() {}
void frmMain::Contents_Click() {}
void frmMain::ViewDamping_Click() {}
void frmMain::Senders_Click() {}
void frmMain::TessaroComPort_Click() {}
void frmMain::ViewTodAlarms_Click() {}
void frmMain::ResetDefaults_Click() {}
void frmMain::CreateBackup_Click() {}
void frmMain::RestoreBackup_Click() {}
void frmMain::cmdUpload_Click() {}
void frmMain::cmdDownload_Click() {}
void frmMain::lblConnected_Click() {}

void frmMain::updateConnectionIndicator()
{
    const bool connected = m_state.Connected != kFalse;
    shpCommsConnected->setFillColor(connected ? QColor(0, 255, 0) : QColor(255, 0, 0));
    lblConnected->setText(connected ? QStringLiteral("Connected to Corvane")
                                    : QStringLiteral("Not connected to Corvane"));
}
