// What an instrument operation is given: a copy of the image and of what the editor
// knows of the link and the instrument, made on the windows' thread before it starts.
#pragma once

#include "core/ImageBytes.h"
#include "core/InstrumentValues.h"

struct OperationInput : ImageBytes {
    LinkState link;
    InstrumentIdentity instrument;
    TransferChoices transfer;
    FactorySession factory;
};
