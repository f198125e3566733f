#include "settings/FirstStartValues.h"
#include "settings/UserDefaults.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"

#include "TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

const std::array<int, 3> newUserSwatches[] = {
    { 255, 249, 190 }, { 214, 249, 165 }, { 169, 248, 183 }, { 165, 249, 221 },
    { 157, 221, 252 }, { 154, 162, 248 }, { 227, 186, 250 }, { 249, 198, 176 },
};

void firstStart(UserDefaults& defaults, const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace)
{
    FirstStartValues::initializeDefaults(defaults);
    FirstStartValues::setDefaultColors(defaults, wellSpace);
    FirstStartValues::setDefaultColorSpaces(defaults, registry);
}

// The stored swatches, decoded and converted back to sRGB integers.
std::vector<std::array<int, 3>> swatchesOf(const UserDefaults& defaults, const ColorSpaceRegistry& registry,
                                           const QString& expectedSpace)
{
    std::vector<std::array<int, 3>> result;
    for (const QVariant& archive : defaults.arrayForKey("currentColors")) {
        const std::optional<Color> color = ColorArchive::unarchive(archive.toByteArray(), registry);
        EXPECT_TRUE(color) << "swatch " << result.size();
        if (!color)
            return result;
        EXPECT_EQ(color->space()->name(), expectedSpace) << "swatch " << result.size();
        result.push_back(ColorSpace::convert(*color, ColorSpace::sRGB()).value_or(Color()).integerComponents());
    }
    return result;
}

} // namespace

TEST(FirstStartValues, FirstStartWritesSwatchesCMYKSpaceAndRealHomeFolder)
{
    TempHome home; // HOME now points into a temporary folder
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    ASSERT_NE(QString(user->pw_dir), qEnvironmentVariable("HOME"));

    const ColorSpaceRegistry registry;
    {
        UserDefaults defaults;
        firstStart(defaults, registry, ColorSpace::sRGB());
    }
    // Every value was flushed: read a copy, which QSettings cannot serve from
    // its in-process cache.
    const QString copy = home.path() + "/copy.conf";
    ASSERT_TRUE(QFile::copy(UserDefaults::standardFilePath(), copy));
    UserDefaults reread(copy);

    EXPECT_EQ(reread.stringForKey("userFolder"), QString(user->pw_dir));
    ASSERT_FALSE(registry.cmykSpaces().empty());
    EXPECT_EQ(reread.stringForKey("CMYKcolorSpace"), registry.cmykSpaces().front()->name());
    EXPECT_EQ(swatchesOf(reread, registry, ColorSpace::sRGBName),
              std::vector(std::begin(newUserSwatches), std::end(newUserSwatches)));

    // With another well space the swatches are held in that one.
    if (registry.rgbSpaces().size() < 2)
        GTEST_SKIP() << "no RGB profile installed besides sRGB";
    const ColorSpacePtr wellSpace = registry.rgbSpaces()[1];
    UserDefaults other(home.path() + "/other.conf");
    FirstStartValues::setDefaultColors(other, wellSpace);
    const auto swatches = swatchesOf(other, registry, wellSpace->name());
    ASSERT_EQ(swatches.size(), std::size(newUserSwatches));
    for (size_t i = 0; i < swatches.size(); ++i)
        for (int c = 0; c < 3; ++c) // a profile round trip may move an integer by one
            EXPECT_NEAR(swatches[i][c], newUserSwatches[i][c], 1) << "swatch " << i << " component " << c;
}

TEST(FirstStartValues, ALaterStartKeepsEveryStoredValueEvenEmptyOnes)
{
    const struct { const char* key; QVariant stored; } rows[] = {
        { "currentColors", QVariantList {} },
        { "currentColors", QVariantList { ColorArchive::archive(Color::fromIntegers(1, 2, 3)) } },
        { "CMYKcolorSpace", QString("") },
        { "CMYKcolorSpace", QString("Coated FOGRA39") },
        { "userFolder", QString("") },
        { "userFolder", QString("/home/elsewhere") },
    };
    const ColorSpaceRegistry registry;
    for (const auto& row : rows) {
        TempHome home;
        UserDefaults defaults;
        defaults.setObject(row.stored, row.key);
        firstStart(defaults, registry, ColorSpace::sRGB());
        EXPECT_EQ(defaults.objectForKey(row.key), row.stored) << row.key << " = " << row.stored.toString().toStdString();
    }
}
