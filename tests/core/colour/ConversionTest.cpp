#include "SystemProfiles.h"

#include "colour/Cmyk.h"
#include "colour/ColorSpace.h"
#include "colour/Hsb.h"
#include "colour/Hsl.h"
#include "colour/Lab.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Triple = std::array<int, 3>;

std::string show(const Triple& t)
{
    return QStringLiteral("%1, %2, %3").arg(t[0]).arg(t[1]).arg(t[2]).toStdString();
}

struct NotationRow
{
    Triple rgb, hsl, hsb, lab;
};

const NotationRow notationRows[] = {
    {{255, 0, 0}, {0, 100, 50}, {0, 100, 100}, {53, 80, 67}},
    {{0, 255, 0}, {120, 100, 50}, {120, 100, 100}, {88, -86, 83}},
    {{0, 0, 255}, {240, 100, 50}, {240, 100, 100}, {32, 79, -108}},
    {{255, 255, 255}, {0, 0, 100}, {0, 0, 100}, {100, 0, 0}},
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {{128, 128, 128}, {0, 0, 50}, {0, 0, 50}, {54, 0, 0}},
    {{154, 162, 248}, {235, 87, 79}, {235, 38, 97}, {69, 18, -44}},
};

std::string show(int r, int g, int b)
{
    return QStringLiteral("rgb %1, %2, %3").arg(r).arg(g).arg(b).toStdString();
}

} // namespace

TEST(Conversions, ForwardNotationsOfKnownColours)
{
    for (const NotationRow& row : notationRows) {
        const auto [r, g, b] = row.rgb;
        SCOPED_TRACE("rgb " + show(row.rgb));
        EXPECT_EQ(hslFromRGB(r, g, b), row.hsl);
        EXPECT_EQ(hsbFromRGB(r, g, b), row.hsb);
        EXPECT_EQ(labFromRGB(r, g, b), row.lab);
    }
    // 255, 0, 1 has a hue of 359.76..., which rounds to 360 and is shown as 0.
    EXPECT_EQ(hslFromRGB(255, 0, 1)[0], 0);
    EXPECT_EQ(hsbFromRGB(255, 0, 1)[0], 0);
}

// The Lab inverse is clamped to the RGB range its rounding may leave.
TEST(Conversions, InverseNotationsOfKnownValues)
{
    const auto hsl = [](int h, int s, int l) {
        const auto rgb = rgbFromHSL(h, s, l);
        return Triple{rgb[0], rgb[1], rgb[2]};
    };
    const struct { const char* notation; Triple (*inverse)(int, int, int); Triple value, rgb; } rows[] = {
        {"hsl", hsl, {0, 100, 50}, {255, 0, 0}},
        {"hsl", hsl, {240, 100, 25}, {0, 0, 127}},
        {"hsl", hsl, {210, 50, 50}, {63, 127, 191}},
        {"hsl", hsl, {0, 0, 50}, {127, 127, 127}},
        {"hsl", hsl, {0, 0, 100}, {255, 255, 255}},
        {"hsl", hsl, {360, 100, 50}, {255, 0, 0}},
        {"lab", rgbFromLab, {100, 0, 0}, {255, 255, 255}},
        {"lab", rgbFromLab, {50, 0, 0}, {119, 119, 119}},
        {"lab", rgbFromLab, {0, 0, 0}, {0, 0, 0}},
        {"lab", rgbFromLab, {53, 80, 67}, {254, 0, 0}},     // green would be -2
        {"lab", rgbFromLab, {68, 11, -50}, {122, 164, 255}}, // blue would be 256
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.notation + (" " + show(row.value)));
        EXPECT_EQ(row.inverse(row.value[0], row.value[1], row.value[2]), row.rgb);
    }
}

TEST(Conversions, GenericCmykBothWays)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    const ColorSpace* generic = ColorSpace::genericCMYK().get();
    const struct { Triple rgb; std::array<int, 4> cmyk; } rows[] = {
        {{255, 0, 0}, {0, 100, 100, 0}},
        {{0, 0, 0}, {0, 0, 0, 100}},
        {{255, 255, 255}, {0, 0, 0, 0}},
        {{154, 162, 248}, {38, 35, 0, 3}},
        {{128, 64, 0}, {0, 50, 100, 50}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("rgb " + show(row.rgb));
        EXPECT_EQ(cmykFromRGB(row.rgb[0], row.rgb[1], row.rgb[2], srgb, generic), row.cmyk);
    }
    EXPECT_EQ(rgbFromCMYK(0, 100, 100, 0), (Triple{255, 0, 0}));
    EXPECT_EQ(rgbFromCMYK(0, 0, 0, 50), (Triple{128, 128, 128}));
    EXPECT_EQ(cmykFromRGB(10, 20, 30, srgb, nullptr), (std::array<int, 4>{0, 0, 0, 0}));
}

// Dense samples over the cube: every forward-then-inverse pair must come back
// within the step its own rounding allows.
TEST(Conversions, RoundTripsOverTheCube)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const auto hsb = hsbFromRGB(r, g, b);
                const auto back = rgbFromHSB(hsb[0], hsb[1], hsb[2]);
                // One displayed percent of brightness is 2.55 steps; hue and
                // saturation steps add at most as much again.
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(back[i], (Triple{r, g, b})[i], 6) << "hsb of " << show({r, g, b});

                const auto hsl = hslFromRGB(r, g, b);
                const auto hslBack = rgbFromHSL(hsl[0], hsl[1], hsl[2]);
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(hslBack[i], (Triple{r, g, b})[i], 7) << "hsl of " << show({r, g, b});

                const auto cmyk = cmykFromRGB(r, g, b, srgb, ColorSpace::genericCMYK().get());
                const auto cmykBack = rgbFromCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(cmykBack[i], (Triple{r, g, b})[i], 4) << "cmyk of " << show({r, g, b});
            }
}

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
