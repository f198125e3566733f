#pragma once

#include <cmath>

// Nearest integer with halves away from zero, from a single-precision value:
// the rounding every displayed number goes through.
inline int roundHalfAway(float value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::lround(value));
}

// Hues are shown from 0 to 359: a hue that rounds to 360 is shown as 0.
inline int displayHue(int hue) { return hue == 360 ? 0 : hue; }
