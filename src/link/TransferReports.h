// What the transfers tell the user when an operation stops short.
#pragma once

#include "link/ConfirmedRead.h"

#include <QString>

struct InstrumentContext;

namespace transfer
{

// Cancel is honoured between whole blocks: the operation ends with its usual
// closing bytes and says what the instrument now holds.
void reportCancelled(InstrumentContext &ctx, const QString &title, const QString &what);
// How a confirmed read went wrong, as the end of a sentence ("the settings arrived damaged").
QString readProblemText(ConfirmedRead::Problem problem);
// A backup or restore stopped because the instrument's data did not arrive intact;
// `written` says what was written before.
void reportIncompleteCopy(InstrumentContext &ctx, const QString &title, const QString &area,
                          const QString &written = QString());

} // namespace transfer
