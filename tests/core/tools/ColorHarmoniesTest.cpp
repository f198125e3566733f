#include "SystemProfiles.h"

#include "tools/ColorHarmonies.h"

#include "colour/ColorSpace.h"
#include "colour/Hsb.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace ColorHarmonies;

namespace {

using Components = std::array<int, 3>;

std::vector<Components> componentsOf(const QList<Color>& colors)
{
    std::vector<Components> result;
    for (const Color& c : colors)
        result.push_back(c.integerComponents());
    return result;
}

const Row& rowNamed(const QList<Row>& rows, const QString& identifier)
{
    for (const Row& row : rows)
        if (row.identifier == identifier)
            return row;
    ADD_FAILURE() << "no row " << identifier.toStdString();
    return rows.front();
}

} // namespace

// The identifiers travel in notifications and scripts and keep their old
// spelling; only the titles are spelled right.
TEST(ColorHarmonies, RowsComeInOrderWithTheirIdentifiersAndTitles)
{
    const struct { const char* identifier; const char* title; qsizetype wells; } expected[] = {
        {"Base Color", "Base Color", 1},
        {"Complementary Colors", "Complementary Colors", 2},
        {"Split Complementary Colors", "Split Complementary Colors", 3},
        {"Analagous Colors", "Analogous Colors", 3},
        {"Triadic Colors", "Triadic Colors", 3},
        {"Tetradic Colors", "Tetradic Colors", 4},
        {"Monochromatic Colors", "Monochromatic Colors", 10},
    };
    const QList<Row> rows = ColorHarmonies::rows(Color::fromIntegers(154, 162, 248), ColorSpace::sRGB());
    ASSERT_EQ(rows.size(), std::size(expected));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].identifier);
        EXPECT_EQ(rows[i].identifier, expected[i].identifier);
        EXPECT_EQ(identifiers()[i], expected[i].identifier);
        EXPECT_EQ(rows[i].title, expected[i].title);
        EXPECT_EQ(rows[i].colors.size(), expected[i].wells);
    }
    // The label of any other row (the drop preview's, say) reads "Base Color".
    EXPECT_EQ(title(QStringLiteral("Drop Preview")), "Base Color");
}

// Every hue row starts with the base colour and turns red by fixed
// fractions of the circle, keeping full saturation and brightness.
TEST(ColorHarmonies, RedTurnsToTheFixedHues)
{
    const Color red = Color::fromIntegers(255, 0, 0);
    const QList<Row> rows = ColorHarmonies::rows(red, ColorSpace::sRGB());
    const struct { const QString& identifier; std::vector<double> hues; } expected[] = {
        {baseColor, {0}},
        {complementaryColors, {0, 1.0 / 2}},
        {splitComplementaryColors, {0, 5.0 / 12, 7.0 / 12}},
        {analagousColors, {0, 1.0 / 12, 11.0 / 12}},
        {triadicColors, {0, 1.0 / 3, 2.0 / 3}},
        {tetradicColors, {0, 1.0 / 4, 1.0 / 2, 3.0 / 4}},
    };
    for (const auto& row : expected) {
        const QList<Color>& colors = rowNamed(rows, row.identifier).colors;
        ASSERT_EQ(colors.size(), row.hues.size()) << row.identifier.toStdString();
        EXPECT_EQ(colors.front(), red) << row.identifier.toStdString();
        for (size_t i = 0; i < row.hues.size(); ++i) {
            SCOPED_TRACE(row.identifier.toStdString() + " well " + std::to_string(i + 1));
            const HsbComponents hsb = hsbComponents(colors[i]);
            EXPECT_NEAR(hsb.hue, row.hues[i], 1e-12);
            EXPECT_DOUBLE_EQ(hsb.saturation, 1);
            EXPECT_DOUBLE_EQ(hsb.brightness, 1);
        }
    }
    EXPECT_EQ(componentsOf(rowNamed(rows, complementaryColors).colors), (std::vector<Components>{{255, 0, 0}, {0, 255, 255}}));
}

// The whole turn is dropped and a negative hue comes round from 1.
TEST(ColorHarmonies, HuesWrapAroundTheCircle)
{
    const struct { double hue, offset, expected; } rows[] = {
        {0.95, 7.0 / 12, 0.95 + 7.0 / 12 - 1},   // about 0.5333
        {0.02, -1.0 / 12, 0.02 - 1.0 / 12 + 1},  // about 0.9367
        {0.5, 1.0 / 2, 0},
        {0.75, 3.0 / 4, 0.5},
        {0.1, -1.5, 0.6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.hue) + " by " + std::to_string(row.offset));
        const Color turned = alterColor(colorWithHue(row.hue, 0.6, 0.8), row.offset);
        const HsbComponents hsb = hsbComponents(turned);
        EXPECT_NEAR(hsb.hue, row.expected, 1e-9);
        EXPECT_NEAR(hsb.saturation, 0.6, 1e-12);
        EXPECT_NEAR(hsb.brightness, 0.8, 1e-12);
    }
}

// A neutral base has no hue to turn, and every neutral rounds to a* = b* = 0,
// so all of them share one ramp of greys.
TEST(ColorHarmonies, NeutralsGiveTheSameGreysEverywhere)
{
    const std::vector<Components> greys = {{226, 226, 226}, {198, 198, 198}, {171, 171, 171}, {145, 145, 145},
                                           {119, 119, 119}, {94, 94, 94},    {71, 71, 71},    {48, 48, 48},
                                           {27, 27, 27},    {0, 0, 0}};
    for (int level : {0, 77, 128, 255}) {
        SCOPED_TRACE("grey " + std::to_string(level));
        const Color grey = Color::fromIntegers(level, level, level);
        for (const Row& row : ColorHarmonies::rows(grey, ColorSpace::sRGB())) {
            if (row.identifier == monochromaticColors) {
                EXPECT_EQ(componentsOf(row.colors), greys);
                continue;
            }
            for (const Color& c : row.colors)
                EXPECT_EQ(c, grey) << row.identifier.toStdString();
        }
    }
}

// Red's chroma (a* 80, b* 67) lies outside sRGB at both ends of the ramp; the
// components are handed on as they come.
TEST(ColorHarmonies, RedsRampKeepsItsUnclampedEnds)
{
    const QList<Color> ramp = generateMonochromaticColors(Color::fromIntegers(255, 0, 0), ColorSpace::sRGB());
    ASSERT_EQ(ramp.size(), 10);
    EXPECT_EQ(ramp.front().integerComponents(), (Components{91, -87, -159}));
    EXPECT_EQ(ramp.back().integerComponents(), (Components{382, 149, 102}));
    // The row shows it lightest first.
    const QList<Row> rows = ColorHarmonies::rows(Color::fromIntegers(255, 0, 0), ColorSpace::sRGB());
    const QList<Color>& wells = rowNamed(rows, monochromaticColors).colors;
    EXPECT_EQ(wells.front(), ramp.back());
    EXPECT_EQ(wells.back(), ramp.front());
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
    const Color& base = rows.front().colors.front();
    ASSERT_EQ(base.space(), adobe);
    const HsbComponents measured = hsbComponents(base);
    for (const Row& row : rows) {
        if (row.identifier == monochromaticColors)
            continue;
        for (qsizetype i = 0; i < row.colors.size(); ++i) {
            SCOPED_TRACE(row.identifier.toStdString() + " well " + std::to_string(i + 1));
            const Color& c = row.colors[i];
            EXPECT_EQ(c.space(), adobe);
            const HsbComponents hsb = hsbComponents(c);
            EXPECT_NEAR(hsb.saturation, measured.saturation, 1e-12);
            EXPECT_NEAR(hsb.brightness, measured.brightness, 1e-12);
        }
    }
    const QList<Color>& ramp = rowNamed(rows, monochromaticColors).colors;
    ASSERT_EQ(ramp.size(), 10);
    for (const Color& c : ramp)
        EXPECT_EQ(c.space(), adobe);
}
