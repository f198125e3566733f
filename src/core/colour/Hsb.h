#pragma once

#include "Color.h"

#include <array>
#include <optional>

// HSB (hexcone HSV) of integer RGB as the fields show it: the colour is made
// in sRGB, moved into the main window's space and measured there. All zeros
// when that move fails.
std::array<int, 3> hsbFromRGB(int red, int green, int blue, const ColorSpacePtr& wellSpace);

// Integer RGB (in the window's space) from the HSB fields; nothing when the
// colour cannot be expressed in that space.
std::optional<std::array<int, 3>> rgbFromHSB(int hue, int saturation, int brightness, const ColorSpacePtr& wellSpace);
