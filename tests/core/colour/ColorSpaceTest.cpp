#include "SystemProfiles.h"

#include "colour/Cmyk.h"
#include "colour/ColorSpace.h"
#include "colour/Hsb.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>

namespace {

std::string show(int r, int g, int b)
{
    return QStringLiteral("rgb %1, %2, %3").arg(r).arg(g).arg(b).toStdString();
}

} // namespace

// sRGB to sRGB is exactly the identity; only RGB spaces hold colours.
TEST(ColorSpace, ConversionWithinSRGBIsExactAndOtherModelsHoldNone)
{
    for (double v : {0.0, 1e-300, 0.1, 0.5, 1.0 / 3.0, 0.999999999, 1.0}) {
        const Color c(v, 1 - v, v / 2, ColorSpace::sRGB());
        EXPECT_EQ(ColorSpace::convert(c, ColorSpace::sRGB()), c) << v;
    }
    EXPECT_FALSE(ColorSpace::convert(Color::fromIntegers(1, 2, 3), ColorSpace::genericCMYK()));
    EXPECT_FALSE(ColorSpace::convert(Color::fromIntegers(1, 2, 3), nullptr));
    EXPECT_FALSE(ColorSpace::cmykComponents(Color::fromIntegers(1, 2, 3), *ColorSpace::sRGB()));
}

// Every sRGB colour lies inside Adobe RGB (1998), so going there and back
// must give the same integer components.
TEST(ColorSpace, AdobeRGBRoundTripKeepsEverySRGBColour)
{
    const auto adobe = SystemProfiles::load(SystemProfiles::adobeRGB);
    if (!adobe)
        GTEST_SKIP() << "needs colord-data";
    ASSERT_EQ(adobe->model(), ColorSpace::Model::RGB);
    EXPECT_EQ(adobe->name(), "Compatible with Adobe RGB (1998)");

    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const Color original = Color::fromIntegers(r, g, b);
                const auto there = ColorSpace::convert(original, adobe);
                ASSERT_TRUE(there) << show(r, g, b);
                EXPECT_EQ(there->space(), adobe);
                const auto back = ColorSpace::convert(*there, ColorSpace::sRGB());
                ASSERT_TRUE(back) << show(r, g, b);
                ASSERT_EQ(back->integerComponents(), original.integerComponents()) << show(r, g, b);
            }
    // The wider space really is another encoding: pure sRGB red is not its red.
    EXPECT_LT(ColorSpace::convert(Color::fromIntegers(255, 0, 0), adobe)->red(), 0.9);
}

TEST(ColorSpace, IccCmykProfileGivesPlausibleInk)
{
    const auto cmyk = SystemProfiles::load(SystemProfiles::defaultCMYK);
    if (!cmyk)
        GTEST_SKIP() << "needs libgs-common";
    ASSERT_EQ(cmyk->model(), ColorSpace::Model::CMYK);

    const ColorSpacePtr srgb = ColorSpace::sRGB();
    EXPECT_LE(std::ranges::max(cmykFromRGB(255, 255, 255, srgb, cmyk.get())), 1) << "white";
    EXPECT_GE(cmykFromRGB(0, 0, 0, srgb, cmyk.get())[3], 70) << "black";
    const auto red = cmykFromRGB(255, 0, 0, srgb, cmyk.get());
    EXPECT_TRUE(red[0] < 20 && red[1] > 80 && red[2] > 80) << "red";
    const auto cyan = cmykFromRGB(0, 255, 255, srgb, cmyk.get());
    EXPECT_TRUE(cyan[0] > 50 && cyan[1] < 30) << "cyan";

    // More grey, more black ink, over the whole grey ramp.
    int lastBlack = -1;
    for (int v = 255; v >= 0; v -= 15) {
        const auto grey = cmykFromRGB(v, v, v, srgb, cmyk.get());
        EXPECT_GE(grey[3], lastBlack) << "grey " << v;
        lastBlack = grey[3];
        EXPECT_TRUE(std::ranges::min(grey) >= 0 && std::ranges::max(grey) <= 100) << "grey " << v;
    }
}
