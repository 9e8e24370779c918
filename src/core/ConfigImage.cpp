#include "core/ConfigImage.h"

#include "core/ConfigFile.h"
#include "core/EditorState.h"
#include "core/ImageLayout.h"

#include <cstring>

ConfigImage ConfigImage::of(const ImageBytes &state)
{
    ConfigImage image;
    std::memcpy(image.system, state.systemBlock, sizeof image.system);
    for (int n = 1; n <= 16; ++n)
        std::memcpy(image.blocks[n], state.configBlock[n], sizeof image.blocks[n]);
    std::memcpy(image.curves, state.calCurve, sizeof image.curves);
    return image;
}

ConfigImage ConfigImage::of(const EditorState &state)
{
    ConfigImage image = of(static_cast<const ImageBytes &>(state));
    image.comPort = state.link.portNumber;
    return image;
}

ConfigImage ConfigImage::of(const ConfigFileImage &file)
{
    ConfigImage image;
    std::memcpy(image.system, file.system, layout::kSystemBytes);
    image.system[layout::kShownConfiguration] = 1;
    for (int n = 1; n <= 16; ++n)
        std::memcpy(image.blocks[n], file.blocks[n], sizeof image.blocks[n]);
    std::memcpy(image.curves, file.curves, sizeof image.curves);
    image.comPort = file.comPort;
    return image;
}

void ConfigImage::applyTo(ImageBytes &state) const
{
    std::memcpy(state.systemBlock, system, sizeof system);
    for (int n = 1; n <= 16; ++n)
        std::memcpy(state.configBlock[n], blocks[n], sizeof blocks[n]);
    std::memcpy(state.calCurve, curves, sizeof curves);
}

void ConfigImage::applyTo(EditorState &state) const
{
    applyTo(static_cast<ImageBytes &>(state));
    if (comPort != kPortNotKnown)
        state.link.portNumber = quint8(comPort);
}

bool ConfigImage::operator==(const ConfigImage &other) const
{
    return std::memcmp(system, other.system, sizeof system) == 0 &&
           std::memcmp(blocks, other.blocks, sizeof blocks) == 0 &&
           std::memcmp(curves, other.curves, sizeof curves) == 0 && comPort == other.comPort;
}
