#include "SystemProfiles.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrFormat.h"
#include "palettes/GimpPalette.h"
#include "palettes/JsonPalette.h"

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
