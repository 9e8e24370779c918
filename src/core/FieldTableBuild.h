// How the field table is made: every named field of the system block, the display
// blocks and the curves, then the bits nobody named. Read the table through
// fields::table(), which builds it once.
#pragma once

#include "core/FieldTable.h"

#include <vector>

namespace fields
{

std::vector<Field> buildTable();

} // namespace fields
