#include "core/NmeaLists.h"

namespace nmea
{

// The order is shared with the instrument's firmware: it is a data format, not an alphabet.
const QStringList &talkers()
{
    static const QStringList list =
        QStringLiteral(
            "AG AP CC CD CM CR CS CV CT CX DE DF EC EP ER GP HC HE HN II IN LA LC MP OM OS RA SD SN SS TI TR VD VM VW "
            "WI YC YD YF YL YP YR YT YV YX ZA ZC ZQ ZV")
            .split(QLatin1Char(' '));
    return list;
}

const QStringList &sentences()
{
    static const QStringList list =
        QStringLiteral(
            "AAM ALM APA APB ASD BEC BOD BWC BWR BWW DBK DBS DBT DCN DPT DRU DSC DSE DSI DSR DTM FSI GBS GDA GGA GLA "
            "GLC GLL GNS GOA GRS GSA GST GSV GTD GXA HCC HCD HDG HDM HDT HSC HVD HVM IMA LCD MDA MHU MMB MSK MSS MTW "
            "MWD MWV OLN OSD ROO RMA RMB RMC ROT RPM RSA RSD RTE SFI SNU STC STN STR SYS TEC TEP TGA TIF TLL TRF TRP "
            "TRS TTM VBW VDC VDR VHW VLW VPE VPW VTA VTG VTI VWE VWR VWT WCV WDC WDR WFM WNC WNR WPL XDR XTE XTR YWP "
            "YWS ZAA ZCD ZDA ZDL ZEV ZFI ZFO ZLZ ZPI ZTA ZTE ZTG ZTI ZWP ZZU")
            .split(QLatin1Char(' '));
    return list;
}

} // namespace nmea
