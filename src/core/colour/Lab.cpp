#include "Lab.h"

#include "ColorSpace.h"
#include "Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double sixteenOver116 = 0.13793103448275862;

float linearPercent(float channel)
{
    const double c = static_cast<float>(channel / 255.0f);
    const double linear = c > 0.04045 ? std::pow((c + 0.055) / 1.055, 2.4) : c / 12.92;
    return static_cast<float>(linear * 100);
}

float f(float t)
{
    return static_cast<float>(t > 0.008856f ? std::pow(static_cast<double>(t), 1.0 / 3.0) : 7.787 * t + sixteenOver116);
}

float finv(float f)
{
    const float t = f * f * f;
    return t > 0.008856f ? t : static_cast<float>((f - sixteenOver116) / 7.787);
}

double compand(float v)
{
    return v > 0.0031308f ? 1.055 * std::pow(static_cast<double>(v), 0.4166666666666667) - 0.055 : 12.92 * v;
}

} // namespace

LabValue rgbToLab(float red, float green, float blue)
{
    const float r = linearPercent(red), g = linearPercent(green), b = linearPercent(blue);
    const float X = static_cast<float>(0.4124 * r + 0.3576 * g + 0.1805 * b);
    const float Y = static_cast<float>(0.2126 * r + 0.7152 * g + 0.0722 * b);
    const float Z = static_cast<float>(0.0193 * r + 0.1192 * g + 0.9505 * b);
    const float fx = f(X / 95.047f), fy = f(Y / 100.0f), fz = f(Z / 108.883f);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

std::array<int, 3> labFromRGB(int red, int green, int blue)
{
    const LabValue lab = rgbToLab(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue));
    return {roundHalfAway(lab.L), roundHalfAway(lab.a), roundHalfAway(lab.b)};
}

std::array<int, 3> rgbFromLab(int L, int a, int b)
{
    std::array<int, 3> n = rgbFromLabUnclamped(L, a, b);
    for (int& c : n)
        c = std::clamp(c, 0, 255);
    return n;
}

std::array<int, 3> rgbFromLabUnclamped(int L, int a, int b)
{
    const float fy = static_cast<float>((L + 16) / 116.0);
    const float fx = a / 500.0f + fy;
    const float fz = fy - b / 200.0f;
    const float X = finv(fx) * 95.047f / 100, Y = finv(fy) * 100 / 100, Z = finv(fz) * 108.883f / 100;
    const float linear[3] = {
        static_cast<float>(3.2406 * X - 1.5372 * Y - 0.4986 * Z),
        static_cast<float>(-0.9689 * X + 1.8758 * Y + 0.0415 * Z),
        static_cast<float>(0.0557 * X - 0.204 * Y + 1.057 * Z),
    };
    std::array<int, 3> n{};
    for (int i = 0; i < 3; ++i)
        n[i] = roundHalfAway(static_cast<float>(compand(linear[i]) * 255));
    return n;
}
