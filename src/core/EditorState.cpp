#include "core/EditorState.h"

OperationInput operationInput(const EditorState &state)
{
    OperationInput input;
    static_cast<ImageBytes &>(input) = state;
    input.link = state.link;
    input.instrument = state.instrument;
    input.transfer = state.transfer;
    input.factory = state.factory;
    return input;
}
