#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "palettes/JsonPalette.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

using namespace JsonPalette;

TEST(JsonPalette, WritesCodesAndReadsThemBack)
{
    ColorList list(QStringLiteral("Warm"));
    list.setColor(QStringLiteral("Red"), Color::fromIntegers(255, 0, 0));
    list.setColor(QStringLiteral("Blue"), Color::fromIntegers(0, 0, 255));
    const QByteArray bytes = writeColorList(list);
    EXPECT_EQ(QJsonDocument::fromJson(bytes).object(),
              QJsonDocument::fromJson(R"({"paletteName": "Warm", "colors": ["#ff0000", "#0000ff"]})").object());
    EXPECT_TRUE(bytes.contains("\n    ")); // pretty printed
    const PaletteReadResult read = readColorList(bytes);
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
        const PaletteReadResult read = readColorList(row.bytes);
        QStringList codes;
        for (const ColorList::Entry& e : read.colors)
            codes += *HexCodec::hexCodeForColor(e.color, ColorSpace::sRGB());
        EXPECT_EQ(codes, row.codes) << row.what;
        EXPECT_EQ(read.error.left(qstrlen(row.error)), QString::fromUtf8(row.error)) << row.what;
        EXPECT_EQ(read.complete(), !*row.error) << row.what;
    }
}
