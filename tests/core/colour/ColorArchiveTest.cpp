#include "FileBytes.h"
#include "SystemProfiles.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/ValueArchive.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

// The stored form written out by hand, so that the tests pin the bytes down
// rather than trusting the writer: "HLC1", name length (16 bits), name,
// red, green, blue, alpha as big-endian binary64.
QByteArray stored(const QByteArray& name, double r, double g, double b, double a = 1.0)
{
    QByteArray out("HLC1");
    char length[2];
    qToBigEndian(static_cast<quint16>(name.size()), length);
    out.append(length, 2).append(name);
    for (double v : {r, g, b, a}) {
        char bytes[8];
        qToBigEndian(std::bit_cast<quint64>(v), bytes);
        out.append(bytes, 8);
    }
    return out;
}

std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

class ColorArchiveTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (QFile::copy(SystemProfiles::adobeRGB, dir.path() + "/adobe.icc"))
            registry = std::make_unique<ColorSpaceRegistry>(QStringList{dir.path()});
        else
            registry = std::make_unique<ColorSpaceRegistry>(QStringList{});
    }

    // The RGB spaces to try: sRGB and, when installed, Adobe RGB.
    const std::vector<ColorSpacePtr>& spaces() const { return registry->rgbSpaces(); }

    QTemporaryDir dir;
    std::unique_ptr<ColorSpaceRegistry> registry;
};

QByteArray be32(quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 4);
}

QByteArray element(char kind, const QByteArray& payload)
{
    return QByteArray(1, kind) + be32(quint32(payload.size())) + payload;
}

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

TEST_F(ColorArchiveTest, TheStoredFormIsStable)
{
    const double r = 154 / 255.0, g = 162 / 255.0, b = 248 / 255.0;
    EXPECT_EQ(hex(ColorArchive::archive(ColorArchive::defaultColor())), hex(stored("sRGB IEC61966-2.1", r, g, b)));

    // Equal colours give equal bytes, -0 and 0 being the same component.
    EXPECT_EQ(ColorArchive::archive(Color(-0.0, 0.5, -0.0, ColorSpace::sRGB())),
              ColorArchive::archive(Color(0.0, 0.5, 0.0, ColorSpace::sRGB())));
}

TEST_F(ColorArchiveTest, RoundTripIsExactInEverySpace)
{
    QRandomGenerator random(2024);
    std::vector<std::array<double, 3>> samples = {
        {0, 0, 0}, {1, 1, 1}, {std::numeric_limits<double>::denorm_min(), 0.5, std::nextafter(1.0, 0.0)},
        {1.0 / 3.0, 2.0 / 3.0, 0.1}};
    for (int i = 0; i < 2000; ++i)
        samples.push_back({random.generateDouble(), random.generateDouble(), random.generateDouble()});
    for (int v = 0; v < 256; ++v)
        samples.push_back({v / 255.0, static_cast<float>(v) / 255.0f, (255 - v) / 255.0});

    for (const ColorSpacePtr& space : spaces()) {
        for (const auto& [r, g, b] : samples) {
            const Color color(r, g, b, space);
            const QByteArray bytes = ColorArchive::archive(color);
            const auto back = ColorArchive::unarchive(bytes, *registry);
            ASSERT_TRUE(back) << space->name().toStdString() << " " << hex(bytes);
            ASSERT_EQ(*back, color) << space->name().toStdString() << " " << hex(bytes);
        }
    }
}

// Whatever the bytes under a key hold, reading them never crashes and never
// invents a colour: unreadable bytes give the default colour.
TEST_F(ColorArchiveTest, UnreadableBytesGiveTheDefaultColour)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QByteArray good = stored("sRGB IEC61966-2.1", 0.1, 0.2, 0.3);

    struct Row { std::string what; QByteArray bytes; };
    std::vector<Row> rows = {
        {"other version", QByteArray(good).replace(0, 4, "HLC2")},
        {"trailing byte", good + '\0'},
        {"negative red", stored("sRGB IEC61966-2.1", -1e-300, 0.2, 0.3)},
        {"green above 1", stored("sRGB IEC61966-2.1", 0.1, std::nextafter(1.0, 2.0), 0.3)},
        {"NaN alpha", stored("sRGB IEC61966-2.1", 0.1, 0.2, 0.3, nan)},
    };
    for (qsizetype n = 1; n < good.size(); ++n)
        rows.push_back({"first " + std::to_string(n) + " bytes", good.left(n)});

    const ColorSpacePtr well = spaces().back();
    const auto expectedDefault = ColorSpace::convert(ColorArchive::defaultColor(), well);
    ASSERT_TRUE(expectedDefault);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what + ": " + hex(row.bytes));
        EXPECT_FALSE(ColorArchive::unarchive(row.bytes, *registry));
        const auto color = ColorArchive::getColorFromData(row.bytes, ColorArchive::defaultColor(), *registry, well);
        ASSERT_TRUE(color);
        EXPECT_EQ(*color, *expectedDefault);
    }
    const auto none = ColorArchive::getColorFromData(QByteArray(), ColorArchive::defaultColor(), *registry, ColorSpace::sRGB());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->integerComponents(), (std::array<int, 3>{154, 162, 248}));
}

// A profile removed since the colour was stored must not lose the colour.
TEST_F(ColorArchiveTest, TheStoredColourReadsInItsSpaceOrSRGBAndMovesToTheWellSpace)
{
    for (const QByteArray& name : {QByteArray("Removed Profile"), QByteArray("Generic CMYK")}) {
        SCOPED_TRACE(hex(name));
        EXPECT_EQ(ColorArchive::unarchive(stored(name, 0.25, 0.5, 0.75), *registry),
                  Color(0.25, 0.5, 0.75, ColorSpace::sRGB()));
    }

    if (spaces().size() < 2)
        GTEST_SKIP() << "needs colord-data";
    const ColorSpacePtr adobe = spaces()[1];
    const Color red = Color::fromIntegers(255, 0, 0);
    const auto moved = ColorArchive::getColorFromData(ColorArchive::archive(red), ColorArchive::defaultColor(), *registry, adobe);
    ASSERT_TRUE(moved);
    EXPECT_EQ(*moved, *ColorSpace::convert(red, adobe));
}

// The stored forms, written out by hand so that a change of the writer
// cannot go unnoticed: stores written by older builds must stay readable.
TEST(ValueArchive, StoredFormsAreStableAndReadBack)
{
    EXPECT_EQ(hex(ValueArchive::archiveString("9aa2f8")), hex("HLS1" + be32(6) + "9aa2f8"));
    EXPECT_EQ(hex(ValueArchive::archiveString("")), hex("HLS1" + be32(0)));
    EXPECT_EQ(hex(ValueArchive::archiveStringList({"fff9be", "é"})),
              hex("HLL1" + be32(2) + element('s', "fff9be") + element('s', "\xc3\xa9")));
    EXPECT_EQ(hex(ValueArchive::archiveList({QString("ab"), QByteArray("\x01\x02", 2)})),
              hex("HLL1" + be32(2) + element('s', "ab") + element('b', QByteArray("\x01\x02", 2))));
    EXPECT_EQ(hex(ValueArchive::archiveStringList({})), hex("HLL1" + be32(0)));

    // Every value reads back.
    const QStringList texts = {"", "9aa2f8", "Grüße ・ 色", QString(70000, u'x')};
    for (const QString& text : texts)
        EXPECT_EQ(ValueArchive::unarchiveString(ValueArchive::archiveString(text)), text);
    const QVariantList mixed = {QString("ff0000"), QByteArray("raw"), QString(), QByteArray()};
    EXPECT_EQ(ValueArchive::unarchiveList(ValueArchive::archiveList(mixed)), mixed);
    EXPECT_EQ(ValueArchive::unarchiveList(ValueArchive::archiveStringList(texts)), QVariant(texts).toList());
}

// A list element of a kind this build doesn't know is kept as bytes: the
// reader can skip it as "not a string" and read the rest.
TEST(ValueArchive, UnknownElementKindReadsAsBytes)
{
    const QByteArray stored = "HLL1" + be32(3) + element('s', "aa") + element('n', "12345678") + element('s', "bb");
    EXPECT_EQ(ValueArchive::unarchiveList(stored), (QVariantList {QString("aa"), QByteArray("12345678"), QString("bb")}));
}

TEST(ValueArchive, DamagedBytesAreUnreadable)
{
    const QByteArray string = ValueArchive::archiveString("9aa2f8");
    const QByteArray list = ValueArchive::archiveStringList({"aa", "bb"});
    // Every truncation, and one byte too many.
    for (qsizetype n = 0; n < string.size(); ++n)
        EXPECT_FALSE(ValueArchive::unarchiveString(string.left(n))) << "string cut to " << n;
    for (qsizetype n = 0; n < list.size(); ++n)
        EXPECT_FALSE(ValueArchive::unarchiveList(list.left(n))) << "list cut to " << n;
    EXPECT_FALSE(ValueArchive::unarchiveString(string + 'x'));
    EXPECT_FALSE(ValueArchive::unarchiveList(list + 'x'));

    const struct { const char* what; QByteArray bytes; } lists[] = {
        {"one form read as the other", string},
        {"count beyond the bytes", "HLL1" + be32(0xFFFFFFFF)},
        {"element length beyond the bytes", "HLL1" + be32(1) + QByteArray(1, 's') + be32(0x7FFFFFFF) + "ab"},
    };
    for (const auto& row : lists)
        EXPECT_FALSE(ValueArchive::unarchiveList(row.bytes)) << row.what;
    EXPECT_FALSE(ValueArchive::unarchiveString(list)) << "a list read as a string";
    EXPECT_FALSE(ValueArchive::unarchiveString("HLS1" + be32(0xFFFFFFFF) + "ab"));
}

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
        {"header-only.icc", apple.left(128)},
        {"grey.icc", contents(SystemProfiles::defaultGray)},
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
