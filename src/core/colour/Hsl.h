#pragma once

#include <array>
#include <cstdint>

// HSL from integer RGB and back, in single precision as the fields have
// always shown it. Results are the displayed integers: hue 0 to 359,
// saturation and lightness 0 to 100.
std::array<int, 3> hslFromRGB(int red, int green, int blue);

// Integer RGB from the HSL fields. The inverse truncates, so a round trip can
// lose one step (lightness 50 at saturation 0 gives 127). Each channel is
// held as an 8-bit unsigned value.
std::array<std::uint8_t, 3> rgbFromHSL(int hue, int saturation, int lightness);

// One channel (0 to 1) of the HSL inverse.
float hueToRGB(float p, float q, float t);
