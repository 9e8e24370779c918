// The areas of the configuration image as the instrument keeps them: the settings
// block, each of the sixteen display configurations, the sender curves. What an
// operation wrote and what it knows the instrument holds are sets of these.
#pragma once

#include "core/ConfigImage.h"

#include <QString>
#include <array>

struct ImageAreas {
    bool settings = false;
    std::array<bool, 16> configurations{}; // display configurations 1..16 at 0..15
    bool curves = false;

    static ImageAreas all();
    static ImageAreas settingsOnly();
    bool any() const;
    bool whole() const { return *this == all(); }
    ImageAreas operator&(const ImageAreas &other) const;
    ImageAreas operator|(const ImageAreas &other) const;
    // The areas of this not in `other`.
    ImageAreas without(const ImageAreas &other) const;
    bool operator==(const ImageAreas &other) const;
    bool operator!=(const ImageAreas &other) const { return !(*this == other); }
    // "settings, display configurations 1-3 and 5, sender curves", or "nothing".
    QString describe() const;
};

// `base` with the `areas` of `from` laid over it.
ConfigImage overlay(const ConfigImage &base, const ConfigImage &from, const ImageAreas &areas);
