// The factory default image's bytes, for the editor (core/Defaults.h) and for an
// operation that provisions a new unit.
#pragma once

#include "core/ImageBytes.h"

// The factory default image: sixteen display blocks, the empty calibration curves,
// the system block; every curve is made linear when `newUnit`.
void writeDefaultImage(ImageBytes &image, bool newUnit);

// The linear default curve: 10 ohms / 0 at point 1 to 180 ohms / 1000 at point 32.
void fillLinearDefaultCurve(ImageBytes &state, int curve);
