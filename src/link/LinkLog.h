// Logging categories of the instrument link, so a technician can switch on a serial trace.
#pragma once

#include <QLoggingCategory>

// Port opening, connection steps, lost ports ("corvane.link").
Q_DECLARE_LOGGING_CATEGORY(lcLink)
// Every byte sent and received ("corvane.link.bytes"; off by default).
Q_DECLARE_LOGGING_CATEGORY(lcLinkBytes)
