// Parts of one configuration taken into another: the categories of the upload and
// download warnings and, for the display configurations, which of the sixteen.
#pragma once

#include "core/FieldTable.h"

#include <array>
#include <initializer_list>

namespace fields
{

struct Parts {
    std::array<bool, kLastCategory + 1> categories{}; // 1..14
    std::array<bool, 17> configurations{};            // 1..16, taken with the display configurations

    // The categories named, with all sixteen configurations.
    static Parts of(std::initializer_list<int> categories);
    // Whether the field's bits are taken.
    bool takes(const Field &field) const;
};

// `base` with the bits of every field the parts name taken from `from`; every other
// bit stays. The checksums of the blocks that took bytes are computed again.
ConfigImage takeParts(const ConfigImage &base, const ConfigImage &from, const Parts &parts);

} // namespace fields
