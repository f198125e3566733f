#pragma once

#include <array>
#include <memory>

class ColorSpace;
using ColorSpacePtr = std::shared_ptr<const ColorSpace>;

// The integer (0 to 255) form of one component, the one rule every notation
// uses: the product is formed in double precision, held in single precision
// and rounded to the nearest integer, halves away from zero. So 0.5 gives 128,
// 0.998 gives 254 and 0.999 gives 255.
int integerComponent(double component);

// A colour value: red, green and blue from 0 to 1 in the RGB colour space it is
// held in. Alpha is carried for completeness but is always 1 and never
// compared. Two colours are equal when they are held in the same space and
// have the same components.
class Color
{
public:
    Color(); // black in sRGB
    Color(double red, double green, double blue, ColorSpacePtr space);

    // The colour of three integers in `space` (sRGB when none), each divided
    // by 255 in double precision.
    static Color fromIntegers(int red, int green, int blue, ColorSpacePtr space = nullptr);
    // The same, with the divisions done in single precision (how codes and
    // the HSB and CMYK conversions build their colours).
    static Color fromIntegersSingle(int red, int green, int blue, ColorSpacePtr space = nullptr);

    double red() const { return r; }
    double green() const { return g; }
    double blue() const { return b; }
    double alpha() const { return 1.0; }
    const ColorSpacePtr& space() const { return colorSpace; }

    std::array<int, 3> integerComponents() const;

    bool operator==(const Color& other) const;
    bool operator!=(const Color& other) const { return !(*this == other); }

private:
    double r = 0, g = 0, b = 0;
    ColorSpacePtr colorSpace;
};
