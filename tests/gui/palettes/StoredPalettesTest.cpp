#include "TempHome.h"

#include "colour/ColorSpaceRegistry.h"
#include "colour/WellColorSpace.h"
#include "names/NameLookup.h"
#include "palettes/ColorListStore.h"
#include "palettes/StoredPalettes.h"
#include "settings/UserDefaults.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Reddish colours are "Red", the rest "Other".
class FakeNames final : public NameLookup
{
public:
    void createSupportFolderAndNamesDatabase() override {}
    void cacheNamesDatabase() override {}
    void freeNamesDatabase() override {}
    QString closestColorNameToColor(const Color& color) override
    {
        return color.integerComponents()[0] > 200 ? QStringLiteral("Red") : QStringLiteral("Other");
    }
    std::optional<QString> hexCodeForName(const QString&) override { return std::nullopt; }
};

} // namespace

// The swatch column's save button: a new list "palette", "palette (2)"...,
// the tray told (a failure too), and the list among those the column
// compares itself with.
TEST(StoredPalettes, SavesTheSwatchesAsANewPaletteAndSaysSo)
{
    TempHome home;
    UserDefaults defaults(home.configHome() + "/Huelark.conf");
    const ColorSpaceRegistry spaces {QStringList {}};
    const WellColorSpace well(defaults, spaces);
    FakeNames names;
    ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    StoredPalettes palettes(store, well, names);
    QSignalSpy told(&palettes, &StoredPalettes::userNotification);

    const QList<Color> swatches {Color::fromIntegers(255, 0, 0), Color::fromIntegers(250, 0, 0),
                                 Color::fromIntegers(0, 0, 255)};
    palettes.saveCurrentPalette(swatches);
    palettes.saveCurrentPalette(swatches);
    palettes.saveCurrentPalette({});
    ASSERT_EQ(told.count(), 3);
    EXPECT_EQ(told[0][0].toString(), "Saved as palette palette");
    EXPECT_EQ(told[1][0].toString(), "Saved as palette palette (2)");
    EXPECT_EQ(told[2][0].toString(), "The swatches could not be saved as a palette: the palette has no colours");

    QStringList keys;
    const std::optional<ColorList> saved = store.colorListNamed("palette");
    ASSERT_TRUE(saved);
    for (const ColorList::Entry& entry : saved->entries())
        keys << entry.key;
    EXPECT_EQ(keys, QStringList({"Red", "Red_fa0000", "Other"}));
    EXPECT_TRUE(palettes.available());
    EXPECT_EQ(palettes.allPaletteArraysWithCount(3), QList<QList<Color>>({swatches, swatches}));
}
