// The factory window's new-unit provisioning: program modules, serial number, logs and settings, curves, NMEA tables.
#pragma once

#include "link/factory/FactorySteps.h"

namespace factory
{

// "Make NEW Brevo": checks all ten program modules in the current folder, asks for serial
// number, product code and software version, writes the modules, rebuilds the image from
// the factory defaults for a new unit and writes the product code. The serial number
// stays pending for the next upload.
CommandEnd makeNewUnit(FactorySession &s);
// "Write New Serial No. to Brevo": serial number (and the software version, asked for when
// none was entered in this run) into the instrument's system block.
CommandEnd writeNewSerialNumber(FactorySession &s);
// "Zero 24C512 LOGS and Date": the log block, 24C512 bytes 128..255, the factory settings.
CommandEnd zero24C512Logs(FactorySession &s);
// "Upload All Calibration Curve Data to 24C512" from "CALCURVS.DAT".
CommandEnd uploadCalibrationCurves(FactorySession &s);
// "Upload NMEA and D.P. Data to 24C512" from the NMEA table and decimal-point files.
CommandEnd uploadNmeaTables(FactorySession &s);

} // namespace factory
