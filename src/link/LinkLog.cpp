#include "link/LinkLog.h"

Q_LOGGING_CATEGORY(lcLink, "corvane.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLinkBytes, "corvane.link.bytes", QtWarningMsg)
