#include "FileBytes.h"
#include "ListKeys.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "history/HistoryStore.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrFormat.h"
#include "palettes/ColorListStore.h"
#include "palettes/HistoryPalettes.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteImport.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

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

// Old records become lists, the list written before its record goes; a
// taken name or a repeated closest name loses nothing.
TEST(HistoryPalettes, MovesOldRecordsIntoListsAndDeletesOnlyWhatWasWritten)
{
    TempHome home;
    UserDefaults defaults(home.configHome() + "/Huelark.conf");
    const ColorSpaceRegistry spaces {QStringList {}};
    HistoryStore::Options options;
    options.folder = home.dataHome() + "/com.quillfen.Huelark";
    HistoryStore history(defaults, spaces, options);
    ASSERT_FALSE(history.open());

    const QByteArray red = ColorArchive::archive(Color::fromIntegers(255, 0, 0));
    const QByteArray darkRed = ColorArchive::archive(Color::fromIntegers(250, 0, 0));
    const QByteArray blue = ColorArchive::archive(Color::fromIntegers(0, 0, 255));
    const QString blocked = "Blocked"; // a folder stands where its file would go
    ASSERT_TRUE(QDir().mkpath(ColorListStore::colorListFolder() + "/Blocked.clr"));
    const struct { QString name; QByteArray last, one, two, three; } records[] = {
        {"Warm", blue, red, "damaged", darkRed},
        {"Cold", blue, {}, {}, {}},
        {blocked, red, {}, {}, {}},
        {"", red, {}, {}, {}},
    };
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(history.filePath()).constData(), &db), SQLITE_OK);
    for (const auto& r : records) {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Palette (name, color_last, color_1, color_2, color_3) VALUES (?1, ?2, ?3, ?4, ?5)",
                           -1, &insert, nullptr);
        const QByteArray name = r.name.toUtf8();
        sqlite3_bind_text(insert, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        int i = 2;
        for (const QByteArray* color : {&r.last, &r.one, &r.two, &r.three}) {
            if (color->isEmpty())
                sqlite3_bind_null(insert, i++);
            else
                sqlite3_bind_blob(insert, i++, color->constData(), int(color->size()), SQLITE_TRANSIENT);
        }
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);

    ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    ColorList cold("Cold");
    cold.setColor("Mine", Color::fromIntegers(1, 2, 3));
    ASSERT_EQ(store.saveColorList(cold), "");

    EXPECT_EQ(HistoryPalettes::migratePalettesFromCoreDataToClrFiles(history, store, spaces, ColorSpace::sRGB(), closestName), 3);
    EXPECT_EQ(keys(store.colorListNamed("Warm")), QStringList({"Other", "Red", "Red_fa0000"}));
    EXPECT_EQ(store.colorListNamed("Cold"), cold);
    EXPECT_EQ(keys(store.colorListNamed("Cold (2)")), QStringList({"Other"}));
    EXPECT_EQ(keys(store.colorListNamed("palette")), QStringList({"Red"}));
    const QList<PaletteRecord> left = history.palettesManagedObjectArray();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].name, blocked);

    // The next start finds only the record that could not be moved.
    EXPECT_EQ(HistoryPalettes::migratePalettesFromCoreDataToClrFiles(history, store, spaces, ColorSpace::sRGB(), closestName), 0);
    EXPECT_EQ(history.palettesManagedObjectArray().size(), 1);
    EXPECT_FALSE(store.colorListNamed("Warm (2)"));

    // A record that cannot be deleted is not moved: every start would add
    // one more copy of its list.
    ASSERT_EQ(sqlite3_open(QFile::encodeName(history.filePath()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER keep BEFORE DELETE ON Palette BEGIN SELECT RAISE(ABORT, 'kept'); END;"
                           "INSERT INTO Palette (name, color_last) SELECT 'Stuck', color_last FROM Palette;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    for (int start = 0; start < 2; ++start)
        EXPECT_EQ(HistoryPalettes::migratePalettesFromCoreDataToClrFiles(history, store, spaces, ColorSpace::sRGB(), closestName), 0);
    EXPECT_FALSE(store.colorListNamed("Stuck"));
    EXPECT_EQ(history.palettesManagedObjectArray().size(), 2);
}
