#include "Cmyk.h"

#include "ColorSpace.h"
#include "Rounding.h"

std::array<int, 4> cmykFromRGB(int red, int green, int blue, const ColorSpacePtr& wellSpace, const ColorSpace* cmyk)
{
    if (!cmyk)
        return {0, 0, 0, 0};
    const auto components = ColorSpace::cmykComponents(Color::fromIntegersSingle(red, green, blue, wellSpace), *cmyk);
    if (!components)
        return {0, 0, 0, 0};
    std::array<int, 4> shown{};
    for (int i = 0; i < 4; ++i)
        shown[i] = roundHalfAway(static_cast<float>((*components)[i]) * 100);
    return shown;
}

std::array<int, 3> rgbFromCMYK(int cyan, int magenta, int yellow, int black)
{
    const float c = cyan / 100.0f, m = magenta / 100.0f, y = yellow / 100.0f, k = black / 100.0f;
    const float red = (1 - c) * (1 - k), green = (1 - m) * (1 - k), blue = (1 - y) * (1 - k);
    return Color(red, green, blue, ColorSpace::sRGB()).integerComponents();
}

Color sRGBFromCMYK(double cyan, double magenta, double yellow, double black)
{
    return Color((1 - cyan) * (1 - black), (1 - magenta) * (1 - black), (1 - yellow) * (1 - black), ColorSpace::sRGB());
}
