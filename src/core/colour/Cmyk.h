#pragma once

#include "Color.h"

#include <array>
#include <optional>

// The CMYK fields (0 to 100 each) in the CMYK space `cmyk` of integer RGB in
// the window's space `wellSpace`, converted with colour management (or the
// Generic CMYK formula). All zeros when there is no CMYK space or the
// conversion fails.
std::array<int, 4> cmykFromRGB(int red, int green, int blue, const ColorSpacePtr& wellSpace, const ColorSpace* cmyk);

// Integer RGB (in the window's space) from the CMYK fields with the simple
// formula red = (1 - c)(1 - k) and so on. This is not the inverse of the
// colour-managed direction, so editing one CMYK field generally changes the
// others.
std::array<int, 3> rgbFromCMYK(int cyan, int magenta, int yellow, int black);

// The same formula on components from 0 to 1, as files store them: an sRGB
// colour, exactly as computed (no rounding to integers).
Color sRGBFromCMYK(double cyan, double magenta, double yellow, double black);
