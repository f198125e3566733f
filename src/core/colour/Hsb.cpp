#include "Hsb.h"

#include "ColorSpace.h"
#include "Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

struct HSV
{
    double hue, saturation, brightness;
};

// Hue in [0, 1), saturation (max - min) / max, brightness max.
HSV hsvOf(double r, double g, double b)
{
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    HSV hsv{0, max > 0 ? delta / max : 0, max};
    if (delta > 0) {
        double h;
        if (r == max)
            h = (g - b) / delta;
        else if (g == max)
            h = 2 + (b - r) / delta;
        else
            h = 4 + (r - g) / delta;
        h /= 6;
        if (h < 0)
            h += 1;
        hsv.hue = h >= 1 ? 0 : h;
    }
    return hsv;
}

Color colorFromHSV(double h, double s, double v, const ColorSpacePtr& space = ColorSpace::sRGB())
{
    if (s <= 0)
        return Color(v, v, v, space);
    const double h6 = (h - std::floor(h)) * 6; // a hue of 1 is the hue 0
    const int sector = static_cast<int>(h6) % 6;
    const double f = h6 - std::floor(h6);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (sector) {
    case 0: return Color(v, t, p, space);
    case 1: return Color(q, v, p, space);
    case 2: return Color(p, v, t, space);
    case 3: return Color(p, q, v, space);
    case 4: return Color(t, p, v, space);
    default: return Color(v, p, q, space);
    }
}

int shown(double fraction, int scale)
{
    return roundHalfAway(static_cast<float>(fraction * scale));
}

} // namespace

std::array<int, 3> hsbFromRGB(int red, int green, int blue)
{
    const Color color = Color::fromIntegersSingle(red, green, blue);
    const HSV hsv = hsvOf(color.red(), color.green(), color.blue());
    return {displayHue(shown(hsv.hue, 360)), shown(hsv.saturation, 100), shown(hsv.brightness, 100)};
}

std::array<int, 3> rgbFromHSB(int hue, int saturation, int brightness)
{
    const float h = hue / 360.0f, s = saturation / 100.0f, v = brightness / 100.0f;
    return colorFromHSV(h, std::clamp(s, 0.0f, 1.0f), std::clamp(v, 0.0f, 1.0f)).integerComponents();
}

HsbComponents hsbComponents(const Color& color)
{
    const HSV hsv = hsvOf(color.red(), color.green(), color.blue());
    return {hsv.hue, hsv.saturation, hsv.brightness};
}

Color colorWithHue(double hue, double saturation, double brightness, const ColorSpacePtr& space)
{
    return colorFromHSV(hue, saturation, brightness, space ? space : ColorSpace::sRGB());
}
