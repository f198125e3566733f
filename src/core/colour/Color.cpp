#include "Color.h"

#include "ColorSpace.h"
#include "Rounding.h"

int integerComponent(double component)
{
    return roundHalfAway(static_cast<float>(component * 255.0));
}

Color::Color()
    : colorSpace(ColorSpace::sRGB())
{
}

Color::Color(double red, double green, double blue, ColorSpacePtr space)
    : r(red)
    , g(green)
    , b(blue)
    , colorSpace(space ? std::move(space) : ColorSpace::sRGB())
{
}

Color Color::fromIntegers(int red, int green, int blue, ColorSpacePtr space)
{
    return Color(red / 255.0, green / 255.0, blue / 255.0, space ? std::move(space) : ColorSpace::sRGB());
}

Color Color::fromIntegersSingle(int red, int green, int blue, ColorSpacePtr space)
{
    return Color(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
                 static_cast<float>(blue) / 255.0f, space ? std::move(space) : ColorSpace::sRGB());
}

std::array<int, 3> Color::integerComponents() const
{
    return {integerComponent(r), integerComponent(g), integerComponent(b)};
}

bool Color::operator==(const Color& other) const
{
    const bool sameSpace = colorSpace == other.colorSpace || colorSpace->name() == other.colorSpace->name();
    return sameSpace && r == other.r && g == other.g && b == other.b;
}
