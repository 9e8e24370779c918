// MainWindow: the redraw of the view, the icon check boxes and their icon bytes, and the configuration buttons.
#include "ui/editor/MainWindow.h"

#include "core/IconTable.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/editor/FaceView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

// The configuration named by system block byte 6. A damaged image can hold 0 or a number above
// 16 there; there is no block to show for it, so configuration 1 is shown and edited instead and
// byte 6 is made to say so (block 0 is never touched).
int MainWindow::currentBlock()
{
    quint8 &byte6 = m_state.SystemBlock[6];
    if (byte6 < 1 || byte6 > 16)
        byte6 = 1;
    m_state.CurrentConfig = byte6;
    return byte6;
}

void MainWindow::DecodeByteBits(quint8 value)
{
    int remaining = value;
    for (int bit = 7; bit >= 0; --bit) {
        BitFlag[bit] = false;
        if (remaining >= (1 << bit)) {
            BitFlag[bit] = true;
            remaining -= 1 << bit;
        }
    }
}

void MainWindow::changeBitsToByte(int byte)
{
    const int block = currentBlock();
    quint8 value = 0; // bits that no check box owns are written as 0
    for (int i = 0; i < icons::kCount; ++i)
        if (icons::kIcons[i].byte == byte && m_iconBox[size_t(i)]->isChecked())
            value |= quint8(1u << icons::kIcons[i].bit);
    m_state.ConfigBlock[block][byte] = value;
}

void MainWindow::ChangeBitsToByte1()
{
    changeBitsToByte(1);
}
void MainWindow::ChangeBitsToByte2()
{
    changeBitsToByte(2);
}
void MainWindow::ChangeBitsToByte3()
{
    changeBitsToByte(3);
}
void MainWindow::ChangeBitsToByte4()
{
    changeBitsToByte(4);
}

// The one rule for all twenty boxes, run by QCheckBox::toggled: a box set to the state it
// already has emits nothing, so its byte keeps whatever it held.
void MainWindow::iconBoxChanged(int icon)
{
    const bool on = m_iconBox[size_t(icon)]->isChecked();
    m_iconElement[size_t(icon)]->setVisible(on);
    changeBitsToByte(icons::kIcons[icon].byte);
}

void MainWindow::onIconsUpperSpeedClicked()
{
    iconBoxChanged(0);
}
void MainWindow::onIconsUpperDepthClicked()
{
    iconBoxChanged(1);
}
void MainWindow::onIconsUpperRpmClicked()
{
    iconBoxChanged(2);
}
void MainWindow::onIconsUpperDegClicked()
{
    iconBoxChanged(3);
}
void MainWindow::onIconsMiddleNmea1Clicked()
{
    iconBoxChanged(4);
}
void MainWindow::onIconsMiddleNmea1LeftClicked()
{
    iconBoxChanged(5);
}
void MainWindow::onIconsMiddleNmea2Clicked()
{
    iconBoxChanged(6);
}
void MainWindow::onIconsMiddleNmea2DownClicked()
{
    iconBoxChanged(7);
}
void MainWindow::onIconsMiddleNmea2UpClicked()
{
    iconBoxChanged(8);
}
void MainWindow::onIconsMiddleNmea3Clicked()
{
    iconBoxChanged(9);
}
void MainWindow::onIconsMiddleNmea3RightClicked()
{
    iconBoxChanged(10);
}
void MainWindow::onMidLeftArrowClicked()
{
    iconBoxChanged(11);
}
void MainWindow::onMidRightArrowClicked()
{
    iconBoxChanged(12);
}
void MainWindow::onIconsLowerLeftOilClicked()
{
    iconBoxChanged(13);
}
void MainWindow::onIconsLowerLeftSpeedClicked()
{
    iconBoxChanged(14);
}
void MainWindow::onIconsLowerLeftVdcClicked()
{
    iconBoxChanged(15);
}
void MainWindow::onIconsLowerRightDepthClicked()
{
    iconBoxChanged(16);
}
void MainWindow::onIconsLowerRightRpmClicked()
{
    iconBoxChanged(17);
}
void MainWindow::onIconsLowerRightFuelClicked()
{
    iconBoxChanged(18);
}
void MainWindow::onIconsLowerRightTempClicked()
{
    iconBoxChanged(19);
}

void MainWindow::setIconState(int icon, bool on)
{
    m_iconElement[size_t(icon)]->setVisible(on);
    m_iconBox[size_t(icon)]->setChecked(on);
}

void MainWindow::ClearDisplayIcons()
{
    for (int i = 0; i < icons::kCount; ++i)
        setIconState(i, false);
}

void MainWindow::UpdateInstrumentDisplay()
{
    HideNmeaWindows();
    const int block = currentBlock();

    // Icon bytes 1..4, each bit from 7 down to 0; only owned bits have a box to set.
    for (int byte = 1; byte <= 4; ++byte) {
        DecodeByteBits(m_state.ConfigBlock[block][byte]);
        for (int bit = 7; bit >= 0; --bit) {
            const int icon = icons::indexOf(byte, bit);
            if (icon >= 0)
                setIconState(icon, BitFlag[bit]);
        }
    }

    RefreshSettingsMenu();
    refreshDataSourceLists();

    // The captions name the configuration shown; a file load or download that moved byte 6
    // without a configuration button press must not leave them naming another one.
    if (m_state.CurrentConfig != m_captionConfig)
        setConfigCaptions(m_state.CurrentConfig);
}

void MainWindow::setConfigCaptions(int config)
{
    m_captionConfig = config;
    const QString n = numtext::signedText(qint64(config));
    fraData->setTitle(QStringLiteral("Data for Current Configuration #") + n + QStringLiteral(" "));
    cmdResetCurrentConfig->setText(QStringLiteral("Clear #") + n + QStringLiteral("  Icons"));
    cmdSetCurrentConfig->setText(QStringLiteral("Set #") + n + QStringLiteral("  Icons"));
    cmdClearConfig->setText(QStringLiteral("Clear Configuration #") + n);
    fraData->setAccessibleName(fraData->title().trimmed());
}

void MainWindow::onConfigurationClicked(int Index)
{
    if (Index < 0 || Index > 15)
        return;
    for (QPushButton *b : CmdConf1)
        b->setDefault(b == CmdConf1[size_t(Index)]);
    m_state.CurrentConfig = quint8(Index + 1);
    m_state.SystemBlock[6] = quint8(Index + 1);
    fraData->setVisible(true);
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
    setConfigCaptions(Index + 1);
    HideNmeaWindows();
}

bool MainWindow::askConfirmation(const QString &title, const QString &line)
{
    m_prompts.beep();
    m_state.MsgAnswer =
        quint8(m_prompts.askYesNo(title, QStringLiteral("Are you sure?\r\n") + line, Prompts::Icon::Question));
    return m_state.MsgAnswer == kYes;
}

void MainWindow::onSetCurrentConfigClicked()
{
    const QString n = numtext::signedText(qint64(m_state.CurrentConfig));
    if (!askConfirmation(QStringLiteral("Set all Icons for display configuration #") + n,
                         QStringLiteral("This will turn ON all the Icons for display configuration #") + n))
        return;
    for (int i = 0; i < icons::kCount; ++i)
        setIconState(i, true);
}

void MainWindow::onResetCurrentConfigClicked()
{
    const QString n = numtext::signedText(qint64(m_state.CurrentConfig));
    if (!askConfirmation(QStringLiteral("Clear all Icons for display configuration #") + n,
                         QStringLiteral("This will clear all the Icons for display configuration #") + n))
        return;
    ClearDisplayIcons();
    const int block = currentBlock();
    for (int byte = 1; byte <= 4; ++byte)
        m_state.ConfigBlock[block][byte] = 0;
}

void MainWindow::onClearConfigClicked()
{
    const QString n = numtext::signedText(qint64(m_state.CurrentConfig));
    if (!askConfirmation(QStringLiteral("Completely clear display configuration #") + n,
                         QStringLiteral("This will completely clear display configuration #") + n))
        return;
    ClearDisplayIcons();
    quint8 *block = m_state.ConfigBlock[currentBlock()];
    for (int d : {0, 1, 2, 3, 4, 28, 48, 68, 88, 89, 90, 91, 92, 108, 109, 110, 111, 112})
        block[d] = 0;
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
}
