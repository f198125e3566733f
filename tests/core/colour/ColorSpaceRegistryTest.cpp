#include "FileBytes.h"
#include "SystemProfiles.h"
#include "TempHome.h"

#include "colour/ColorSpaceRegistry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList namesOf(const std::vector<ColorSpacePtr>& spaces)
{
    QStringList names;
    for (const ColorSpacePtr& s : spaces)
        names << s->name();
    return names;
}

class ColorSpaceRegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        adobe = contents(SystemProfiles::adobeRGB);
        apple = contents(SystemProfiles::appleRGB);
        cmyk = contents(SystemProfiles::defaultCMYK);
        if (adobe.isEmpty() || apple.isEmpty() || cmyk.isEmpty())
            GTEST_SKIP() << "needs colord-data and libgs-common";
        ASSERT_TRUE(dir.isValid());
    }

    QString at(const QString& relative) const { return dir.path() + "/" + relative; }

    QTemporaryDir dir;
    QByteArray adobe, apple, cmyk;
};

const QString adobeName = QStringLiteral("Compatible with Adobe RGB (1998)");

} // namespace

TEST_F(ColorSpaceRegistryTest, ScansProfilesInPathOrderAndMakesNamesUnique)
{
    ASSERT_TRUE(put(at("one/z.icc"), apple));
    ASSERT_TRUE(put(at("one/b.icc"), adobe));
    ASSERT_TRUE(put(at("one/a.icc"), adobe));
    ASSERT_TRUE(put(at("one/deeper/still/c.icm"), adobe));
    ASSERT_TRUE(put(at("one/printer.ICC"), cmyk));
    ASSERT_TRUE(put(at("two/a.icc"), adobe));
    ASSERT_TRUE(put(at("two/printer.icc"), cmyk));

    const ColorSpaceRegistry registry({at("one"), at("two"), at("missing")});
    EXPECT_EQ(namesOf(registry.rgbSpaces()),
              (QStringList{"sRGB IEC61966-2.1", adobeName, adobeName + " (2)", adobeName + " (3)", "Apple RGB",
                           adobeName + " (4)"}));
    const QStringList cmykNames = namesOf(registry.cmykSpaces());
    ASSERT_EQ(cmykNames.size(), 3);
    EXPECT_EQ(cmykNames[0], "Generic CMYK");
    EXPECT_EQ(cmykNames[2], cmykNames[1] + " (2)");

    // Each name is where its file was found, in path order.
    QStringList paths;
    for (const ColorSpacePtr& s : registry.rgbSpaces())
        paths << s->filePath;
    EXPECT_EQ(paths.mid(1), (QStringList{at("one/a.icc"), at("one/b.icc"), at("one/deeper/still/c.icm"), at("one/z.icc"), at("two/a.icc")}));
}

TEST_F(ColorSpaceRegistryTest, IgnoresWhatIsNoRgbOrCmykProfile)
{
    ASSERT_TRUE(put(at("a.icc"), adobe));
    QByteArray noise(4096, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = static_cast<char>(random.generate());
    // A data colour space no enum has (FF FF FF FF), as a crafted file says.
    QByteArray noSuchSpace = apple;
    noSuchSpace.replace(16, 4, QByteArray(4, '\xff'));
    const struct { const char* file; QByteArray bytes; } ignored[] = {
        {"noise.icc", noise},
        {"empty.icc", QByteArray()},
        {"half.icc", apple.left(apple.size() / 2)},
        {"header-only.icc", apple.left(128)},
        {"grey.icc", contents(SystemProfiles::defaultGray)},
        {"lab.icm", contents(SystemProfiles::labD50)},
        {"no-such-space.icc", noSuchSpace},
        {"apple.txt", apple}, // not named as a profile
    };
    for (const auto& row : ignored)
        ASSERT_TRUE(put(at(row.file), row.bytes)) << row.file;
    // A link back up must not make the scan go round for ever.
    ASSERT_TRUE(QFile::link(dir.path(), at("loop")));

    const ColorSpaceRegistry registry({dir.path()});
    EXPECT_EQ(namesOf(registry.rgbSpaces()), (QStringList{"sRGB IEC61966-2.1", adobeName}));
    EXPECT_EQ(namesOf(registry.cmykSpaces()), QStringList{"Generic CMYK"});
}

TEST_F(ColorSpaceRegistryTest, LookUpsFallBackAsTheSettingsNeed)
{
    ASSERT_TRUE(put(at("a.icc"), adobe));
    ASSERT_TRUE(put(at("p.icc"), cmyk));
    const ColorSpaceRegistry registry({dir.path()});
    const ColorSpacePtr adobeSpace = registry.rgbSpaces().at(1);
    const ColorSpacePtr cmykSpace = registry.cmykSpaces().at(1);

    const struct { QString name; ColorSpacePtr rgb, cmyk, any; } rows[] = {
        {adobeName, adobeSpace, ColorSpace::genericCMYK(), adobeSpace},
        {cmykSpace->name(), ColorSpace::sRGB(), cmykSpace, cmykSpace},
        {"sRGB IEC61966-2.1", ColorSpace::sRGB(), ColorSpace::genericCMYK(), ColorSpace::sRGB()},
        {"Generic CMYK", ColorSpace::sRGB(), ColorSpace::genericCMYK(), ColorSpace::genericCMYK()},
        {"", ColorSpace::sRGB(), ColorSpace::genericCMYK(), nullptr},
        {"No Such Space", ColorSpace::sRGB(), ColorSpace::genericCMYK(), nullptr},
        {adobeName.toLower(), ColorSpace::sRGB(), ColorSpace::genericCMYK(), nullptr}, // names are exact
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(registry.rgbSpaceNamed(row.name), row.rgb);
        EXPECT_EQ(registry.cmykSpaceNamed(row.name), row.cmyk);
        EXPECT_EQ(registry.spaceNamed(row.name), row.any);
    }
}

TEST(ColorSpaceRegistryFolders, SystemDataDirsFirstThenTheUsersEachFolderOnce)
{
    const TempHome home;
    const QString t = home.path();
    ASSERT_TRUE(QDir().mkpath(t + "/sys2/color/icc"));
    ASSERT_TRUE(QFile::link(t + "/sys2", t + "/link"));
    // A repeated entry, one with a trailing slash, and a symlink to another.
    const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", (t + "/sys1:" + t + "/sys2:" + t + "/sys1/:" + t + "/link").toUtf8());
    const QStringList folders = ColorSpaceRegistry::standardFolders();
    qputenv("XDG_DATA_DIRS", oldDirs);

    const QStringList expected {t + "/sys1/color/icc", t + "/sys2/color/icc", home.dataHome() + "/color/icc",
                                home.dataHome() + "/icc", t + "/.color/icc"};
    EXPECT_EQ(folders.join('\n').toStdString(), expected.join('\n').toStdString());
}
