#include "CliProcess.h"

#include "colour/ColorNotations.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/HexCodec.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString defaultRow = QStringLiteral(
    "{\"input\":\"9aa2f8\",\"name\":\"Periwinkle Blue\",\"hex\":\"9aa2f8\",\"rgb\":[154,162,248],\"hsl\":[235,87,79],\"hsb\":[235,38,97],"
    "\"lab\":[69,18,-44],\"cmyk\":[38,35,0,3],"
    "\"nscolor\":\"NSColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\","
    "\"uicolor\":\"UIColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\"}\n");

// Code in message syntax (--objc) in place of the initializer calls.
const QString objcRow = defaultRow.left(defaultRow.indexOf("\"nscolor\""))
    + "\"nscolor\":\"[NSColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]\","
      "\"uicolor\":\"[UIColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]\"}\n";

const QString defaultBlock = QStringLiteral("name Periwinkle Blue\nhex 9aa2f8\nrgb 154 162 248\nhsl 235 87 79\nhsb 235 38 97\n"
                                            "lab 69 18 -44\ncmyk 38 35 0 3\n"
                                            "nscolor NSColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\n"
                                            "uicolor UIColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\n");

QJsonObject parseLine(const QString& line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return doc.object();
}

ColorSpacePtr profileAt(const std::vector<ColorSpacePtr>& spaces, const QString& path)
{
    for (const ColorSpacePtr& s : spaces)
        if (s->filePath == path)
            return s;
    return nullptr;
}

const QString redText = QStringLiteral(
    "Base Color: #FF0000\n"
    "Complementary Colors: #FF0000 #00FFFF\n"
    "Split Complementary Colors: #FF0000 #00FF80 #0080FF\n"
    "Analagous Colors: #FF0000 #FF8000 #FF0080\n"
    "Triadic Colors: #FF0000 #00FF00 #0000FF\n"
    "Tetradic Colors: #FF0000 #80FF00 #00FFFF #8000FF\n"
    "Monochromatic Colors: #FF9566 #FF764C #FF5633 #FF3118 #F40000 #D20000 #B10000 #920000 #740000 #5B0000\n");

const QString redJson = QStringLiteral(
    "{\"Base Color\":[\"#FF0000\"],\"Complementary Colors\":[\"#FF0000\",\"#00FFFF\"],"
    "\"Split Complementary Colors\":[\"#FF0000\",\"#00FF80\",\"#0080FF\"],"
    "\"Analagous Colors\":[\"#FF0000\",\"#FF8000\",\"#FF0080\"],"
    "\"Triadic Colors\":[\"#FF0000\",\"#00FF00\",\"#0000FF\"],"
    "\"Tetradic Colors\":[\"#FF0000\",\"#80FF00\",\"#00FFFF\",\"#8000FF\"],"
    "\"Monochromatic Colors\":[\"#FF9566\",\"#FF764C\",\"#FF5633\",\"#FF3118\",\"#F40000\",\"#D20000\",\"#B10000\","
    "\"#920000\",\"#740000\",\"#5B0000\"]}\n");

// A one-row image of the given opaque pixels, or a column with `column`.
QString writeImage(const QTemporaryDir& folder, const char* name, const QList<QRgb>& pixels, bool column = false)
{
    const int n = int(pixels.size());
    QImage image(column ? 1 : n, column ? n : 1, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i)
        image.setPixel(column ? 0 : i, column ? i : 0, pixels[i]);
    const QString path = folder.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace

TEST(ConvertAndHarmoniesCommands, AnswerInTheDocumentedForms)
{
    const QString unknownSpace = QStringLiteral("huelark-cli: unknown colour space \"%1\" for %2 (see huelark-cli spaces)");
    const struct { QStringList arguments; int exitCode; QString out; QStringList err; } rows[] = {
        {{"convert", "9aa2f8", "#9AA2F8"}, 0, defaultBlock + "\n" + defaultBlock, {}},
        // Options may follow the values; empty space names mean the defaults.
        {{"convert", "9aa2f8", "--json"}, 0, defaultRow, {}},
        {{"convert", "--json", "--color-space=", "--cmyk-space", "", "9aa2f8"}, 0, defaultRow, {}},
        {{"convert", "--json", "--objc", "9aa2f8"}, 0, objcRow, {}},
        // An unreadable value does not stop the others.
        {{"convert", "--json", "9aa2f8", "nope", "9aa2f8", "rgb(1,2)", "9aa2f8"}, 2, defaultRow + defaultRow + defaultRow,
         {"huelark-cli: cannot read value \"nope\"", "huelark-cli: cannot read value \"rgb(1,2)\""}},
        // After "--" even "--json" is a VALUE (and not a readable one).
        {{"convert", "--", "--json"}, 2, "", {"huelark-cli: cannot read value \"--json\""}},
        // An unknown space falls back as the settings would; each option
        // takes only a space of its own model.
        {{"convert", "--json", "--color-space", "Generic CMYK", "9aa2f8"}, 2, defaultRow,
         {unknownSpace.arg("Generic CMYK", "--color-space")}},
        {{"convert", "--json", "--cmyk-space", "sRGB IEC61966-2.1", "9aa2f8"}, 2, defaultRow,
         {unknownSpace.arg("sRGB IEC61966-2.1", "--cmyk-space")}},
        {{"harmonies", "ff0000"}, 0, redText, {}},
        // Any value convert reads, names included.
        {{"harmonies", "--json", "--color-space=", "Red"}, 0, redJson, {}},
        {{"harmonies", "nope"}, 2, "", {"huelark-cli: cannot read value \"nope\""}},
        // An unknown space falls back to sRGB, as convert does.
        {{"harmonies", "--color-space", "No Such Space", "ff0000"}, 2, redText,
         {unknownSpace.arg("No Such Space", "--color-space")}},
    };
    for (const auto& row : rows)
        expectCli(row.arguments, row.exitCode, row.out, row.err);
}

// Each VALUE is read as typing it into one field of the window would read it.
TEST(ConvertCommand, ValuesAreReadAsTheFieldsReadThem)
{
    const struct { const char* value; const char* hex; } rows[] = {
        {"#ABC", "aabbcc"},
        {"12", "000012"},       // short runs are numbers, not padded codes
        {"abcde", "0abcde"},
        {"rgb(255,0,0)", "ff0000"},
        {"RGB( 255 , 0 , 0 )", "ff0000"},
        {"rgb(025,0,0)", "190000"},
        {"hsl(0,0,50)", "7f7f7f"}, // the inverse truncates
        {"Hsl(360\u00B0, 100%, 50%)", "ff0000"}, // units as the fields allow them
        {"hsb(90\u00B0, 40%, 50%)", "66804d"},
        {"lab(53,80,67)", "fe0000"},  // green below 0 is clamped
        {"lab(68,11,-50)", "7aa4ff"}, // blue above 255 is clamped
        {"lab(0,-128,127)", "002d00"},
        {"cmyk(0,100,100,0)", "ff0000"},
        {"cmyk(50%,0,0,0)", "80ffff"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        const CliResult r = runCli({"convert", "--json", QString::fromUtf8(row.value)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject o = parseLine(r.out.trimmed());
        EXPECT_EQ(o.value("input").toString(), QString::fromUtf8(row.value));
        EXPECT_EQ(o.value("hex").toString(), row.hex);
    }
}

// Texts a field would refuse, or that are no value at all.
TEST(ConvertCommand, UnreadableValuesAreRefused)
{
    const char* rows[] = {
        "zz", "", "#", "##abc", " abc", "abcdef0", "#abcdef0", "12 34",
        "rgb(256,0,0)", "rgb(1,2,3,4)", "rgb(1,,3)", "rgb(-1,0,0)", "rgb(0255,0,0)",
        "rgb(1,2,3", "rgb(0x10,0,0)", "rgb(1.5,0,0)", "xyz(1,2,3)",
        "hsl(361,0,0)", "hsl(0,101,0)", "hsl(0,%,0)", "hsb(0,0,1000)", "cmyk(0,0,0,101)",
        "lab(0,200,0)", "lab(101,0,0)", "lab(0,-129,0)", "lab(0,-,0)", "lab(0,5-,0)", "lab(-5,0,0)",
    };
    for (const char* value : rows)
        expectCli({"convert", "--json", QString::fromUtf8(value)}, 2, "",
                  {QStringLiteral("huelark-cli: cannot read value \"%1\"").arg(value)});
}

// The spaces are chosen by name as the settings name them, a profile in the
// user's own colour folder like the system ones, and the CLI computes exactly
// what the window's engine computes in them. The settings themselves are not
// read: scripts need the same output whatever the user has set up.
TEST(ConvertCommand, NamedSpacesAreUsedButSettingsAreNotRead)
{
    const ColorSpaceRegistry registry;
    const ColorSpacePtr adobe = profileAt(registry.rgbSpaces(), "/usr/share/color/icc/colord/AdobeRGB1998.icc");
    const ColorSpacePtr iccCmyk = profileAt(registry.cmykSpaces(), "/usr/share/color/icc/ghostscript/default_cmyk.icc");
    if (!adobe || !iccCmyk)
        GTEST_SKIP() << "needs colord-data and libgs-common";
    QTemporaryDir home;
    ASSERT_TRUE(QDir().mkpath(home.path() + "/.color/icc"));
    ASSERT_TRUE(QFile::copy(adobe->filePath, home.path() + "/.color/icc/mine.icc"));
    UserDefaults settings(home.path() + "/.config/com.quillfen.Huelark/Huelark.conf");
    settings.setString(adobe->name(), "colorSpace");
    settings.synchronize();
    const QProcessEnvironment env = environmentWithHome(home.path());

    const CliResult spaces = runCli({"spaces", "--json"}, env);
    ASSERT_EQ(spaces.exitCode, 0);
    const QJsonObject listed = parseLine(spaces.out.trimmed());
    const QString mine = listed.value("rgb").toArray().last().toString();
    EXPECT_TRUE(mine.startsWith("Compatible with Adobe RGB (1998) (")) << mine.toStdString();
    EXPECT_TRUE(listed.value("cmyk").toVariant().toStringList().contains(iccCmyk->name()));

    const CliResult r = runCli({"convert", "--json", "--color-space", mine, "--cmyk-space=" + iccCmyk->name(), "9aa2f8",
                                "rgb(255,0,0)"}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), 2);

    // A hex code from outside is sRGB, moved into Adobe RGB; typed numbers
    // are Adobe RGB's own, as the window's fields read them.
    const auto fromHex = ColorNotations::of(*HexCodec::colorWithHexColorString("9aa2f8", adobe), adobe, iccCmyk.get(), false);
    const auto red = ColorNotations::of(Color::fromIntegers(255, 0, 0, adobe), adobe, iccCmyk.get(), false);
    for (const auto& [line, n] : {std::pair{lines[0], *fromHex}, std::pair{lines[1], *red}}) {
        const QJsonObject o = parseLine(line);
        EXPECT_EQ(o.value("hex").toString(), n.hex);
        EXPECT_EQ(o.value("cmyk").toArray(), (QJsonArray{n.cmyk[0], n.cmyk[1], n.cmyk[2], n.cmyk[3]}));
        EXPECT_EQ(o.value("hsb").toArray(), (QJsonArray{n.hsb[0], n.hsb[1], n.hsb[2]}));
    }
    EXPECT_EQ(runCli({"convert", "--json", "9aa2f8"}, env).out, defaultRow);
}

TEST(SpacesCommand, ListsRgbThenCmykInRegistryOrder)
{
    const ColorSpaceRegistry registry;
    QStringList lines;
    for (const ColorSpacePtr& s : registry.rgbSpaces())
        lines << "rgb\t" + s->name();
    for (const ColorSpacePtr& s : registry.cmykSpaces())
        lines << "cmyk\t" + s->name();
    expectCli({"spaces"}, 0, lines.join(u'\n') + u'\n');
    EXPECT_EQ(lines.value(0), "rgb\tsRGB IEC61966-2.1");
    EXPECT_TRUE(lines.contains("cmyk\tGeneric CMYK"));
}

TEST(ExtractCommand, PrintsTheDominantColoursMostFrequentFirst)
{
    QTemporaryDir folder;
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QString mixed = writeImage(folder, "mixed.png", {red, blue, red, red, blue, red, blue, red});
    // Two reds of one cell average to 10.5, rounded half away to 11.
    const QString dark = writeImage(folder, "dark.png", {qRgb(10, 0, 0), qRgb(11, 0, 0)});
    // Side by side they make a 3 × 3 image: 2 red, 3 blue and 4 uncovered,
    // transparent, black pixels.
    const QString wide = writeImage(folder, "wide.png", {red, red});
    const QString tall = writeImage(folder, "tall.png", {blue, blue, blue}, true);
    const QString notAnImage = folder.filePath("notes.png");
    ASSERT_TRUE(put(notAnImage, "not an image"));
    // Cut short, it makes the PNG reader complain on its own as well.
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i)
        noise.setPixel(i % 64, i / 64, qRgb(i * 7 % 256, i * 13 % 256, i * 31 % 256));
    const QString cut = folder.filePath("cut.png");
    ASSERT_TRUE(noise.save(cut));
    QFile(cut).resize(QFileInfo(cut).size() / 2);

    const struct
    {
        QStringList arguments;
        int status;
        QString out;
        QStringList err;
    } rows[] = {
        {{mixed}, 0, "#FF0000\n#0000FF\n", {}},
        {{dark}, 0, "#0B0000\n", {}},
        {{"--json", wide, tall}, 0,
         "{\"pixels\":9,\"colors\":[{\"hex\":\"#000000\",\"count\":4},{\"hex\":\"#0000FF\",\"count\":3},"
         "{\"hex\":\"#FF0000\",\"count\":2}]}\n", {}},
        {{"--count", "2", wide, tall}, 0, "#000000\n#0000FF\n", {}},
        {{"--flags=1", "--json", wide, tall}, 0,
         "{\"pixels\":5,\"colors\":[{\"hex\":\"#0000FF\",\"count\":3},{\"hex\":\"#FF0000\",\"count\":2}]}\n", {}},
        {{"--flags", "2", wide, tall}, 0, "#000000\n", {}},
        {{wide, notAnImage, folder.filePath("gone.png")}, 1, "#FF0000\n",
         {"huelark-cli: " + notAnImage + ": Unsupported image format",
          "huelark-cli: " + folder.filePath("gone.png") + ": No such file or directory"}},
        {{"--json", notAnImage}, 1, "{\"pixels\":0,\"colors\":[]}\n",
         {"huelark-cli: " + notAnImage + ": Unsupported image format"}},
        {{cut}, 1, "", {"huelark-cli: " + cut + ": Unable to read image data"}},
    };
    for (const auto& row : rows)
        expectCli(QStringList{"extract"} + row.arguments, row.status, row.out, row.err);
}
