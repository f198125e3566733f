#include "FileBytes.h"
#include "ListKeys.h"
#include "TempHome.h"

#include "colour/ColorSpace.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrFormat.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteImport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every reddish colour is "Red", everything else "Other".
QString closestName(const Color& color)
{
    return color.integerComponents()[0] > 200 ? QStringLiteral("Red") : QStringLiteral("Other");
}

} // namespace

// The list name each format gives, whatever the extension's letter case.
TEST(PaletteFile, NamesThePaletteByFormat)
{
    QTemporaryDir dir;
    ColorList ase("Inside");
    ase.setColor("Red", Color::fromIntegers(255, 0, 0));
    const struct { const char* file; QByteArray bytes; const char* name; } rows[] = {
        {"a%2Fb.clr", ClrFormat::writeColorList(ase), "a%2Fb"}, // the file name as it stands
        {"Plain.ASE", AdobeSwatchExchange::writeColorList(ase), "Plain"},
        {"file.Json", R"({"paletteName": "Inside", "colors": ["#010203"]})", "Inside"},
        {"file.gpl", "GIMP Palette\nName: Inside\n1 2 3\tA\n", "Inside"},
        {"No name.GPL", "GIMP Palette\n1 2 3\tA\n", "No name"},
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(row.file);
        ASSERT_TRUE(put(path, row.bytes));
        const PaletteReadResult read = PaletteFile::read(path);
        EXPECT_TRUE(read.complete()) << row.file << ' ' << read.error.toStdString();
        EXPECT_EQ(read.name, row.name) << row.file;
        EXPECT_EQ(read.colors.size(), 1) << row.file;
    }
    EXPECT_EQ(PaletteFile::read(dir.filePath("x.txt")).error, "not a palette file (.clr, .ase, .json or .gpl)");
}

TEST(PaletteImport, MakesNewListsWithUniqueNamesAndKeys)
{
    TempHome home;
    ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    const QString json = home.path() + "/warm.json";
    const QString empty = home.path() + "/empty.json";
    ASSERT_TRUE(put(json, R"({"paletteName": "Warm", "colors": ["#ff0000", "#fe0000", "#0000ff", "#ff0000"]})"));
    ASSERT_TRUE(put(empty, R"({"paletteName": "Empty", "colors": []})"));
    const ColorSpacePtr srgb = ColorSpace::sRGB();

    EXPECT_EQ(PaletteImport::importFile(store, json, closestName, srgb).listName, "Warm");
    EXPECT_EQ(PaletteImport::importFile(store, json, closestName, srgb).listName, "Warm (2)");
    EXPECT_EQ(keys(store.colorListNamed("Warm (2)")), QStringList({"Red", "Red_fe0000", "Other"}));
    const PaletteImport::Result none = PaletteImport::importFile(store, empty, closestName, srgb);
    EXPECT_EQ(none.listName, "");
    EXPECT_EQ(none.error, "the palette has no colours");
    EXPECT_FALSE(store.colorListNamed("Empty"));

    // The swatch column saved as a palette, twice, and with nothing in it.
    const QList<Color> swatches {Color::fromIntegers(255, 0, 0), Color::fromIntegers(0, 0, 255)};
    EXPECT_EQ(PaletteImport::saveColors(store, "palette", swatches, closestName, srgb).listName, "palette");
    EXPECT_EQ(PaletteImport::saveColors(store, "palette", swatches, closestName, srgb).listName, "palette (2)");
    EXPECT_EQ(PaletteImport::saveColors(store, "palette", {}, closestName, srgb).listName, "");
    EXPECT_EQ(keys(store.colorListNamed("palette (2)")), QStringList({"Red", "Other"}));
    EXPECT_TRUE(QFile::exists(store.pathForColorListWithName("palette (2)")));
}
