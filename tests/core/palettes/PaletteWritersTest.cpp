#include "SystemProfiles.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrFormat.h"
#include "palettes/GimpPalette.h"
#include "palettes/JsonPalette.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// Palette files carry sRGB, whatever space the window holds its colours in:
// a colour held in Adobe RGB is written as its sRGB self and reads back so.
TEST(PaletteWriters, WriteSRGBWhateverTheColoursSpace)
{
    const ColorSpacePtr adobe = SystemProfiles::load(SystemProfiles::adobeRGB);
    if (!adobe)
        GTEST_SKIP() << "colord-data is not installed";
    const std::optional<Color> held = ColorSpace::convert(Color::fromIntegers(51, 102, 153), adobe);
    ASSERT_TRUE(held);
    ASSERT_NE(held->integerComponents(), (std::array {51, 102, 153})); // or the test proves nothing
    ColorList list(QStringLiteral("Held"));
    list.setColor(QStringLiteral("Steel"), *held);

    const struct { const char* format; QByteArray (*write)(const ColorList&); PaletteReadResult (*read)(const QByteArray&); } rows[] = {
        {"ase", AdobeSwatchExchange::writeColorList, AdobeSwatchExchange::readColorList},
        {"clr", ClrFormat::writeColorList, ClrFormat::readColorList},
        {"gpl", GimpPalette::writeColorList, GimpPalette::readColorList},
        {"json", JsonPalette::writeColorList, JsonPalette::readColorList},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = row.read(row.write(list));
        ASSERT_EQ(read.colors.size(), 1) << row.format;
        EXPECT_EQ(read.colors[0].color.integerComponents(), (std::array {51, 102, 153})) << row.format;
    }
}

// GIMP's own layout, and back.
TEST(GimpPalette, WritesGimpsLayoutAndReadsItBack)
{
    ColorList list(QStringLiteral("Warm\nish"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("Sky blue"), Color::fromIntegers(135, 206, 235));
    list.setColor(QStringLiteral("tab\there"), Color::fromIntegers(1, 2, 3));
    const QByteArray bytes = GimpPalette::writeColorList(list);
    EXPECT_EQ(bytes, QByteArray("GIMP Palette\nName: Warm ish\n#\n"
                                "255   0   0\tRed\n"
                                "135 206 235\tSky blue\n"
                                "  1   2   3\ttab here\n"));
    const PaletteReadResult read = GimpPalette::readColorList(bytes);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.name, QStringLiteral("Warm ish"));
    ASSERT_EQ(read.colors.size(), 3);
    EXPECT_EQ(read.colors[1], (ColorList::Entry {QStringLiteral("Sky blue"), Color::fromIntegers(135, 206, 235)}));
}

// What other programs write and what damage does: the name, the colours
// read (key and components, in order) and the error's beginning.
TEST(GimpPalette, ReadsLiberallyAndNamesTheBadLine)
{
    using Colours = std::vector<std::pair<QString, std::array<int, 3>>>;
    const struct { const char* what; QByteArray bytes; const char* name; Colours colours; const char* error; } rows[] = {
        {"CR LF, tabs, comments, columns", "GIMP Palette\r\nName: Old\r\nColumns: 4\r\n#\r\n# c\r\n\t0\t128 255\tDeep  sea \r\n\r\n",
         "Old", {{"Deep  sea", {0, 128, 255}}}, ""},
        {"no Name:, no names, a BOM", "\xEF\xBB\xBFGIMP Palette\n1 2 3\n4 5 6", "", {{"", {1, 2, 3}}, {"", {4, 5, 6}}}, ""},
        {"out of range", "GIMP Palette\n1 2 3\n256 0 0 Too much\n7 8 9\n", "", {{"", {1, 2, 3}}, {"", {7, 8, 9}}},
         "Line 3 is not a colour: the value 256"},
        {"negative", "GIMP Palette\n-1 0 0\n", "", {}, "Line 2 is not a colour: the value -1"},
        {"too few values", "GIMP Palette\nName: N\n\n12 34\n", "N", {}, "Line 4 is not a colour: it has fewer"},
        {"not numbers", "GIMP Palette\nred green blue\n", "", {}, "Line 2 is not a colour: \"red\""},
        {"huge number", "GIMP Palette\n99999999999999999999 0 0\n", "", {}, "Line 2 is not a colour"},
        {"cut short", "GIMP Palette\n1 2 3 A\n4 5", "", {{"A", {1, 2, 3}}}, "Line 3 is not a colour"},
        {"not a palette", "JASC-PAL\n0100\n", "", {}, "This is not a GIMP palette"},
        {"empty", "", "", {}, "This is not a GIMP palette"},
        {"over 16 MB", "GIMP Palette\n" + QByteArray(16 * 1024 * 1024, '\n'), "", {}, "The file is larger than 16 MB"},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = GimpPalette::readColorList(row.bytes);
        EXPECT_EQ(read.name, QString::fromUtf8(row.name)) << row.what;
        Colours colours;
        for (const ColorList::Entry& e : read.colors)
            colours.push_back({e.key, e.color.integerComponents()});
        EXPECT_EQ(colours, row.colours) << row.what;
        EXPECT_EQ(read.error.left(qstrlen(row.error)), QString::fromUtf8(row.error)) << row.what;
        EXPECT_EQ(read.complete(), !*row.error) << row.what;
    }
}

TEST(JsonPalette, WritesCodesAndReadsThemBack)
{
    ColorList list(QStringLiteral("Warm"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("Blue"), Color::fromIntegers(0, 0, 255));
    const QByteArray bytes = JsonPalette::writeColorList(list);
    EXPECT_EQ(QJsonDocument::fromJson(bytes).object(),
              QJsonDocument::fromJson(R"({"paletteName": "Warm", "colors": ["#ff0000", "#0000ff"]})").object());
    EXPECT_TRUE(bytes.contains("\n    ")); // pretty printed
    const PaletteReadResult read = JsonPalette::readColorList(bytes);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.name, QStringLiteral("Warm"));
    EXPECT_EQ(read.colors, (QList<ColorList::Entry> {{QString(), Color::fromIntegersSingle(255, 0, 0)},
                                                     {QString(), Color::fromIntegersSingle(0, 0, 255)}}));
}

// The colours read as codes ("" for none), and the error's beginning.
TEST(JsonPalette, SkipsWhatIsNotAColourAndRefusesWhatIsNotAPalette)
{
    const struct { const char* what; QByteArray bytes; QStringList codes; const char* error; } rows[] = {
        {"codes as typed", R"({"paletteName": "P", "colors": ["#abc", "AABBCC", "#12"]})", {"aabbcc", "aabbcc", "000012"}, ""},
        {"no colours", R"({"paletteName": "P", "colors": []})", {}, ""},
        {"not hex: skipped, not black", R"({"paletteName": "P", "colors": ["#zzz", "#ff0000", ""]})", {"ff0000"}, ""},
        {"not strings: skipped", R"({"paletteName": "P", "colors": [1, null, ["#fff"], {"c": "#fff"}, "#fff"]})",
         {"ffffff"}, ""},
        {"no name", R"({"colors": ["#fff"]})", {}, "This is not a palette"},
        {"name not text", R"({"paletteName": 7, "colors": ["#fff"]})", {}, "This is not a palette"},
        {"colours not a list", R"({"paletteName": "P", "colors": "#fff"})", {}, "This is not a palette"},
        {"an array", R"([{"paletteName": "P", "colors": []}])", {}, "This is not a palette"},
        {"cut short", R"({"paletteName": "P", "colors": ["#fff", "#00)", {}, "This is not a JSON file"},
        {"empty", "", {}, "This is not a JSON file"},
        {"over 16 MB", R"({"paletteName": "P", "colors": []})" + QByteArray(16 * 1024 * 1024, ' '), {},
         "The file is larger than 16 MB"},
    };
    for (const auto& row : rows) {
        const PaletteReadResult read = JsonPalette::readColorList(row.bytes);
        QStringList codes;
        for (const ColorList::Entry& e : read.colors)
            codes += *HexCodec::hexCodeForColor(e.color, ColorSpace::sRGB());
        EXPECT_EQ(codes, row.codes) << row.what;
        EXPECT_EQ(read.error.left(qstrlen(row.error)), QString::fromUtf8(row.error)) << row.what;
        EXPECT_EQ(read.complete(), !*row.error) << row.what;
    }
}
