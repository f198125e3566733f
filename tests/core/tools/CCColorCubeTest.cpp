#include "TestImages.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList hexCodes(const std::vector<Color>& colors)
{
    QStringList codes;
    for (const Color& c : colors) {
        const std::array<int, 3> i = c.integerComponents();
        codes << HexCodec::storedForm(i[0], i[1], i[2]);
    }
    return codes;
}

CCLocalMaximum maximum(quint64 hits, double red, double green, double blue)
{
    return {hits, 0, red, green, blue, std::max({red, green, blue})};
}

QStringList hexCodes(const CCColorCube::Maxima& maxima)
{
    return hexCodes(CCColorCube::colorsFromMaxima(maxima));
}

// Five colours in cells far apart, each a maximum of its own.
const std::vector<uchar> fiveColours = pixelsOfRuns(
    {{255, 0, 0, 40}, {255, 255, 255, 30}, {0, 0, 0, 20}, {0, 0, 80, 10}, {200, 200, 200, 5}});

} // namespace

TEST(CCColorCube, EveryOptionBit)
{
    const struct
    {
        const char* name;
        unsigned flags;
        QStringList expected;
    } rows[] = {
        {"none", 0, {"ff0000", "ffffff", "000000", "000050", "c8c8c8"}},
        {"brightOnly", 1, {"ff0000", "ffffff", "c8c8c8"}},
        {"darkOnly", 2, {"000000", "000050"}},
        {"brightOnly wins over darkOnly", 3, {"ff0000", "ffffff", "c8c8c8"}},
        {"distinctOnly, all far apart", 4, {"ff0000", "ffffff", "000000", "000050", "c8c8c8"}},
        {"sortByBrightness, ties keep their order", 8, {"ff0000", "ffffff", "c8c8c8", "000050", "000000"}},
        {"sortByDarkness", 16, {"000000", "000050", "c8c8c8", "ff0000", "ffffff"}},
        {"sortByBrightness wins", 24, {"ff0000", "ffffff", "c8c8c8", "000050", "000000"}},
        {"skipNearWhite", 32, {"ff0000", "000000", "000050"}},
        {"skipNearBlack", 64, {"ff0000", "ffffff", "c8c8c8"}},
        {"both skips", 96, {"ff0000"}},
    };
    for (const auto& row : rows) {
        CCColorCube cube;
        EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), row.flags)), row.expected)
            << row.name;
    }

    CCColorCube cube;
    const Color red = Color::fromIntegers(255, 0, 0);
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), 0, red)),
              QStringList({"ffffff", "000000", "000050", "c8c8c8"}));
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), 0, 2)),
              QStringList({"ff0000", "ffffff"}));
    EXPECT_EQ(hexCodes(cube.extractBrightColorsFromImage(imageOf(rowOf(fiveColours)), Color::fromIntegers(255, 255, 255), 3)),
              QStringList({"ff0000"}));
    EXPECT_EQ(hexCodes(cube.extractDarkColorsFromImage(imageOf(rowOf(fiveColours)), std::nullopt, 1)),
              QStringList({"000000"}));
    // An image whose pixels cannot be had gives nothing.
    EXPECT_TRUE(cube.extractColorsFromImage([](ColorHistogram&) { return false; }, 4).empty());
    EXPECT_FALSE(cube.findLocalMaximaInImage([](ColorHistogram&) { return false; }, 4).has_value());
}

TEST(CCColorCube, EdgeCases)
{
    CCColorCube cube;
    // A single colour comes back exactly, alpha 1, in sRGB.
    const std::vector<Color> single =
        cube.extractColorsFromImage(imageOf(rowOf(pixelsOfRuns({{154, 162, 248, 1001}}))), 4);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], Color(154 / 255.0, 162 / 255.0, 248 / 255.0, ColorSpace::sRGB()));
    EXPECT_EQ(single[0].alpha(), 1.0);

    // Transparent pixels are black, whatever colour their bytes would have
    // had before premultiplying.
    const std::vector<uchar> clear(4 * 50, 0);
    std::vector<uchar> clearStraight = pixelsOfRuns({{90, 200, 10, 50}});
    for (size_t i = 3; i < clearStraight.size(); i += 4)
        clearStraight[i] = 0;
    for (const auto& pixels : {rowOf(clear), rowOf(clearStraight, ColorHistogram::PixelLayout::rgbaStraight)}) {
        const std::optional<CCColorCube::Maxima> black = cube.findLocalMaximaInImage(imageOf(pixels), 4);
        ASSERT_TRUE(black && black->size() == 1);
        EXPECT_EQ(hexCodes(*black), QStringList({"000000"}));
        EXPECT_EQ(black->front().hitCount, 50u);
    }

    // A plateau: cells 11 and 12 of the red axis with equal, highest counts
    // are both maxima, in visiting order; distinctOnly drops the second.
    const auto plateau = pixelsOfRuns({{110, 0, 0, 10}, {100, 0, 0, 10}, {0, 200, 0, 3}});
    EXPECT_EQ(hexCodes(*cube.findLocalMaximaInImage(imageOf(rowOf(plateau)), 0)),
              QStringList({"640000", "6e0000", "00c800"}));
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(plateau)), 4)), QStringList({"640000", "00c800"}));

    // Byte 255 lands in coordinate 29, alone: 254 is in 28.
    const std::optional<CCColorCube::Maxima> ends =
        cube.findLocalMaximaInImage(imageOf(rowOf(pixelsOfRuns({{255, 255, 255, 2}, {0, 0, 254, 1}}))), 0);
    ASSERT_TRUE(ends && ends->size() == 2);
    EXPECT_EQ(ends->at(0).cellIndex, 29u + 30 * 29 + 900 * 29);
    EXPECT_EQ(ends->at(1).cellIndex, 900u * 28);
}

TEST(CCColorCube, DistinctFilterComparesWithDroppedMaximaToo)
{
    // d(A, B) = 0.15, d(B, C) = 0.15, d(A, C) = 0.3: B goes for A, C for B.
    const CCColorCube::Maxima chain = {maximum(9, 0.2, 0.2, 0.2), maximum(8, 0.35, 0.2, 0.2),
                                       maximum(7, 0.5, 0.2, 0.2), maximum(6, 0.9, 0.9, 0.9)};
    const CCColorCube::Maxima kept = CCColorCube::filterDistinctMaxima(chain, 0.2);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].hitCount, 9u);
    EXPECT_EQ(kept[1].hitCount, 6u);
}

TEST(CCColorCube, AdaptiveFiltering)
{
    // Ten maxima more than 0.55 apart: no pass removes one, the first three stay.
    CCColorCube::Maxima far;
    for (int i = 0; i < 10; ++i)
        far.push_back(maximum(quint64(100 - i), i & 1, (i >> 1) & 1, i / 4 * 0.6));
    CCColorCube::Maxima three = CCColorCube::performAdaptiveDistinctFilteringForMaxima(far, 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[2].hitCount, 98u);

    // Close maxima are thinned while a pass leaves more than the count; the
    // pass that would leave the count or fewer is not taken.
    const CCColorCube::Maxima close = {maximum(9, 0, 0, 0), maximum(8, 0.12, 0, 0), maximum(7, 0.5, 0, 0),
                                       maximum(6, 0.64, 0, 0), maximum(5, 1, 0, 0)};
    const struct
    {
        int count;
        std::vector<quint64> hits;
    } rows[] = {{5, {9, 8, 7, 6, 5}}, {4, {9, 8, 7, 6}}, {3, {9, 8, 7}}, {2, {9, 7}}, {1, {9}}, {0, {}}};
    for (const auto& row : rows) {
        std::vector<quint64> hits;
        for (const CCLocalMaximum& m : CCColorCube::performAdaptiveDistinctFilteringForMaxima(close, row.count))
            hits.push_back(m.hitCount);
        EXPECT_EQ(hits, row.hits) << "count " << row.count;
    }
}
