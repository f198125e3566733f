#pragma once

#include "colour/Color.h"
#include "colour/Hsl.h"

// The integer values a names-database row stores for its colour, and that a
// lookup computes for the colour it names: r, g, b as the RGB fields show them
// and h, s, l from the same single-precision HSL arithmetic as the HSL fields.
// Built and looked-up colours go through this one function, so a colour that
// is in the table always finds its own row.
struct NameValues
{
    int r = 0, g = 0, b = 0;
    int h = 0, s = 0, l = 0;

    // No clamping: a component outside 0..1 gives an integer outside 0..255.
    static NameValues fromColor(const Color& color)
    {
        return fromIntegers(integerComponent(color.red()), integerComponent(color.green()),
                            integerComponent(color.blue()));
    }

    static NameValues fromIntegers(int red, int green, int blue)
    {
        const auto [hue, saturation, lightness] = hslFromRGB(red, green, blue);
        return {red, green, blue, hue, saturation, lightness};
    }

    bool operator==(const NameValues&) const = default;
};
