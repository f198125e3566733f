#include "colour/ColorSpace.h"
#include "palettes/ColorListNaming.h"

#include <gtest/gtest.h>

using namespace ColorListNaming;

TEST(ColorListNaming, UniqueListNames)
{
    const struct { const char* wanted; QSet<QString> taken; const char* expected; } rows[] = {
        {"palette", {}, "palette"},
        {"palette", {"palette", "palette (2)"}, "palette (3)"},
        {"palette", {"palette", "palette (3)"}, "palette (2)"},
        {"palette (2)", {"palette", "palette (2)"}, "palette (2) (2)"}, // always appended to the wanted name
        {"Palette", {"palette"}, "Palette"},                            // exact comparison
    };
    for (const auto& row : rows)
        EXPECT_EQ(getOriginalName(QString::fromUtf8(row.wanted), row.taken), QString::fromUtf8(row.expected))
            << "wanted \"" << row.wanted << "\"";
}

// Every row starts from a list holding `before`, adds one colour under a name
// and checks the key it went under, the size after, and that no colour
// already in the list was replaced.
TEST(ColorListNaming, UniqueColourKeys)
{
    const ColorSpacePtr srgb = ColorSpace::sRGB();
    const Color red = Color::fromIntegers(255, 0, 0), green = Color::fromIntegers(0, 255, 0);
    const Color almostGreen(0, 0.999, 0, srgb); // another colour with the code 00ff00
    const struct { std::vector<ColorList::Entry> before; const char* name; Color color; const char* key; qsizetype size; } rows[] = {
        {{}, "Red", red, "Red", 1},
        {{{"Red", red}}, "Blue", Color::fromIntegers(0, 0, 255), "Blue", 2},
        {{{"Red", red}}, "Red", green, "Red_00ff00", 2},
        {{{"Red", red}}, "Red", red, "Red", 1},                                  // same name, same colour: one entry
        {{{"Red", red}, {"Red_00ff00", green}}, "Red", green, "Red_00ff00", 2},  // ... also under its fallback key
        {{{"Red", red}, {"Red_00ff00", almostGreen}}, "Red", green, "Red_00ff00 2", 3}, // never replaces a colour
        {{{"Red", red}, {"Red_00ff00", almostGreen}, {"Red_00ff00 2", Color(0, 0.998, 0, srgb)}}, "Red", green,
         "Red_00ff00 3", 4},
    };
    for (const auto& row : rows) {
        ColorList list(QStringLiteral("L"));
        for (const ColorList::Entry& entry : row.before)
            list.setColor(entry.key, entry.color);
        EXPECT_EQ(addColor(row.color, QString::fromUtf8(row.name), list, srgb), QString::fromUtf8(row.key))
            << "row " << row.key;
        EXPECT_EQ(list.size(), row.size) << "row " << row.key;
        for (const ColorList::Entry& entry : row.before)
            EXPECT_EQ(list.color(entry.key), entry.color) << "row " << row.key << ", entry " << entry.key.toStdString();
        EXPECT_EQ(list.color(QString::fromUtf8(row.key)), row.color) << "row " << row.key;
    }
}
