#include "Hsl.h"

#include "Rounding.h"

#include <algorithm>

std::array<int, 3> hslFromRGB(int red, int green, int blue)
{
    const float r = red / 255.0f, g = green / 255.0f, b = blue / 255.0f;
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    const float sum = max + min;
    const float L = sum * 0.5f;
    float H = 0, S = 0;
    if (L > 0) {
        const float d = max - min;
        if (d > 0) {
            const double divisor = L <= 0.5f ? static_cast<double>(sum) : 2.0 - max - min;
            S = static_cast<float>(d / divisor);
            const float rc = (max - r) / d, gc = (max - g) / d, bc = (max - b) / d;
            float h;
            if (r == max)
                h = g == min ? 5 + bc : 1 - gc;
            else if (g == max)
                h = b == min ? 1 + rc : 3 - bc;
            else
                h = r == min ? 3 + gc : 5 - rc;
            H = h / 6 * 360;
        }
    }
    return {displayHue(roundHalfAway(H)), roundHalfAway(S * 100), roundHalfAway(L * 100)};
}

float hueToRGB(float p, float q, float t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (6 * t < 1)
        return p + (q - p) * 6 * t;
    if (2 * t < 1)
        return q;
    if (3 * t < 2)
        return p + (q - p) * (0.6666667f - t) * 6;
    return p;
}

namespace {
std::uint8_t channel(float v)
{
    return static_cast<std::uint8_t>(static_cast<int>(v * 255));
}
} // namespace

std::array<std::uint8_t, 3> rgbFromHSL(int hue, int saturation, int lightness)
{
    const float s = saturation / 100.0f;
    const float l = lightness / 100.0f;
    if (s == 0) {
        const std::uint8_t grey = channel(l);
        return {grey, grey, grey};
    }
    const float h = hue / 360.0f;
    const float q = l < 0.5f ? l * (1 + s) : l + s - l * s;
    const float p = 2 * l - q;
    const float third = 0.33333334f;
    return {channel(hueToRGB(p, q, h + third)), channel(hueToRGB(p, q, h)), channel(hueToRGB(p, q, h - third))};
}
