#include "core/ImageParts.h"

#include "core/ImageLayout.h"

#include <cstring>

namespace fields
{

namespace
{
void takeBits(quint8 *to, const quint8 *from, const Field &f)
{
    for (int i = 0; i < f.length; ++i)
        to[i] = quint8((to[i] & ~f.mask) | (from[i] & f.mask));
}
} // namespace

Parts Parts::of(std::initializer_list<int> categories)
{
    Parts parts;
    for (int c : categories)
        if (c >= 1 && c <= kLastCategory)
            parts.categories[size_t(c)] = true;
    parts.configurations.fill(true);
    parts.configurations[0] = false;
    return parts;
}

bool Parts::takes(const Field &f) const
{
    if (f.derived || f.category < 1 || f.category > kLastCategory || !categories[size_t(f.category)])
        return false;
    return f.area != Area::Block || (f.index >= 1 && f.index <= 16 && configurations[size_t(f.index)]);
}

ConfigImage takeParts(const ConfigImage &base, const ConfigImage &from, const Parts &parts)
{
    ConfigImage image = base;
    bool systemTaken = false;
    bool blockTaken[17] = {};
    for (const Field &f : table()) {
        if (!parts.takes(f))
            continue;
        switch (f.area) {
        case Area::System:
            takeBits(image.system + f.offset, from.system + f.offset, f);
            systemTaken = true;
            break;
        case Area::Block:
            takeBits(image.blocks[f.index] + f.offset, from.blocks[f.index] + f.offset, f);
            blockTaken[f.index] = true;
            break;
        case Area::Curve:
            std::memcpy(image.curves[f.index][f.offset], from.curves[f.index][f.offset], sizeof image.curves[0][0]);
            break;
        case Area::Port: // the editor's own: no category carries it
            break;
        }
    }
    if (systemTaken)
        image.system[layout::kSystemChecksum] = systemBlockChecksum(image.system);
    for (int n = 1; n <= 16; ++n)
        if (blockTaken[n])
            image.blocks[n][layout::kBlockChecksum] = configBlockChecksum(image.blocks[n]);
    return image;
}

} // namespace fields
