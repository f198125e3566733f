#pragma once

#include "Color.h"

#include <array>
#include <optional>

// CIE L*a*b* (D65) of sRGB components, the constants and precisions fixed so
// that every start shows the same numbers.
struct LabValue
{
    float L, a, b;
};

// L*, a*, b* of three components 0 to 255, unrounded.
LabValue rgbToLab(float red, float green, float blue);

// The Lab fields of integer RGB (read with the sRGB formulas whatever the
// window's space): rounded L*, a*, b*. The first value is also the colour's
// `lightness`.
std::array<int, 3> labFromRGB(int red, int green, int blue);

// Integer RGB from the Lab fields, the inverse of labFromRGB: the integers
// are the window's components, as the RGB fields show them. Lab values
// outside the RGB gamut give channels below 0 or above 255; they are clamped
// to 0..255 so that the fields and the code always show a real colour.
std::array<int, 3> rgbFromLab(int L, int a, int b);

// The same without the clamping: the monochromatic ramp of the tool window
// hands such out-of-gamut ends on as they are.
std::array<int, 3> rgbFromLabUnclamped(int L, int a, int b);
