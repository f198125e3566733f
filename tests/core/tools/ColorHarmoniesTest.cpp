#include "SystemProfiles.h"

#include "tools/ColorHarmonies.h"

#include "colour/Hsb.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>

using namespace ColorHarmonies;

namespace {

using Components = std::array<int, 3>;
constexpr int monochromatic = 6; // the row's place

std::string wellName(const Row& row, qsizetype i)
{
    return row.identifier.toStdString() + " well " + std::to_string(i + 1);
}

} // namespace

// The identifiers travel in notifications and scripts and keep their old
// spelling; only the titles are spelled right. (Red's rows, their order and
// every well, are held whole by the tests of huelark-cli harmonies.)
TEST(ColorHarmonies, OnlyTheTitlesAreSpelledRight)
{
    QStringList titles;
    for (const Row& row : ColorHarmonies::rows(Color::fromIntegers(255, 0, 0), ColorSpace::sRGB()))
        titles << row.title;
    EXPECT_EQ(titles, identifiers().replaceInStrings("Analagous", "Analogous"));
    // The label of any other row (the drop preview's, say) reads "Base Color".
    EXPECT_EQ(title(QStringLiteral("Drop Preview")), "Base Color");
}

// The whole turn is dropped and a negative hue comes round from 1.
TEST(ColorHarmonies, HuesWrapAroundTheCircle)
{
    const struct { double hue, offset, expected; } rows[] = {
        {0.95, 7.0 / 12, 0.95 + 7.0 / 12 - 1},  // about 0.5333
        {0.5, 1.0 / 2, 0},
        {0.1, -1.5, 0.6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.hue) + " by " + std::to_string(row.offset));
        const HsbComponents hsb = hsbComponents(alterColor(colorWithHue(row.hue, 0.6, 0.8), row.offset));
        EXPECT_NEAR(hsb.hue, row.expected, 1e-9);
        EXPECT_NEAR(hsb.saturation, 0.6, 1e-12);
        EXPECT_NEAR(hsb.brightness, 0.8, 1e-12);
    }
}

// A neutral base has no hue to turn, and every neutral rounds to a* = b* = 0,
// so all of them share one ramp of greys, lightest well first.
TEST(ColorHarmonies, NeutralsGiveTheSameGreysEverywhere)
{
    const int greys[] = {226, 198, 171, 145, 119, 94, 71, 48, 27, 0};
    for (int level : {0, 77, 128, 255}) {
        const Color grey = Color::fromIntegers(level, level, level);
        for (const Row& row : ColorHarmonies::rows(grey, ColorSpace::sRGB())) {
            const bool ramp = row.identifier == monochromaticColors;
            for (qsizetype i = 0; i < row.colors.size(); ++i)
                EXPECT_EQ(row.colors[i], ramp ? Color::fromIntegersSingle(greys[i], greys[i], greys[i]) : grey)
                    << "grey " << level << ", " << wellName(row, i);
        }
    }
}

// Red's chroma (a* 80, b* 67) lies outside sRGB at both ends of the ramp; the
// components are handed on as they come.
TEST(ColorHarmonies, RedsRampKeepsItsUnclampedEnds)
{
    const Color red = Color::fromIntegers(255, 0, 0);
    const QList<Color> ramp = generateMonochromaticColors(red, ColorSpace::sRGB());
    ASSERT_EQ(ramp.size(), 10);
    EXPECT_EQ(ramp.front().integerComponents(), (Components{91, -87, -159}));
    EXPECT_EQ(ramp.back().integerComponents(), (Components{382, 149, 102}));
}

// Hues turn in the base colour's own space: read as sRGB numbers, the same
// hue, saturation and brightness would be another colour there, and every
// harmony would drift away from the base in saturation and brightness.
TEST(ColorHarmonies, WideSpacesKeepSaturationAndBrightness)
{
    const auto adobe = SystemProfiles::load(SystemProfiles::adobeRGB);
    if (!adobe)
        GTEST_SKIP() << "needs colord-data";
    // Given in sRGB, the colour is first moved into the window's space.
    const QList<Row> rows = ColorHarmonies::rows(Color(0.8, 0.35, 0.2, ColorSpace::sRGB()), adobe);
    const HsbComponents base = hsbComponents(rows.front().colors.front());
    ASSERT_EQ(rows[monochromatic].colors.size(), 10);
    for (const Row& row : rows) {
        for (qsizetype i = 0; i < row.colors.size(); ++i) {
            EXPECT_EQ(row.colors[i].space(), adobe) << wellName(row, i);
            if (row.identifier == monochromaticColors)
                continue;
            const HsbComponents hsb = hsbComponents(row.colors[i]);
            EXPECT_NEAR(hsb.saturation, base.saturation, 1e-12) << wellName(row, i);
            EXPECT_NEAR(hsb.brightness, base.brightness, 1e-12) << wellName(row, i);
        }
    }
}
