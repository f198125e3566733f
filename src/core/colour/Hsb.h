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

// Hue (in turns, 0 to below 1), saturation and brightness of a colour's
// components as they are, in whatever space the colour is held in.
struct HsbComponents
{
    double hue, saturation, brightness;
};
HsbComponents hsbComponents(const Color& color);

// The colour with those components in `space` (sRGB when none). A hue of 1
// is the hue 0.
Color colorWithHue(double hue, double saturation, double brightness, const ColorSpacePtr& space = nullptr);
