#pragma once

#include "Color.h"

#include <array>
#include <optional>

// HSB (hexcone HSV) of integer RGB as the fields show it. The integers are
// the components in the window's own space and are measured as they are, so
// that the HSB the window shows, typed back, gives the colour it came from.
std::array<int, 3> hsbFromRGB(int red, int green, int blue);

// Integer RGB (in the window's space) from the HSB fields.
std::array<int, 3> rgbFromHSB(int hue, int saturation, int brightness);
