#include "FileBytes.h"

#include "colour/ColorSpace.h"
#include "palettes/ColorListNaming.h"
#include "palettes/ListFileName.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ColorListNaming;
using namespace ListFileName;

// Names as users may type them, hostile ones included: the file name each
// gets (none when refused), and every accepted name comes back from it.
TEST(ListFileName, NamesMapToSafeFileNamesAndBack)
{
    const QString longest(maximumBytes, u'x');
    const std::optional<QString> none;
    const std::pair<QString, std::optional<QString>> rows[] = {
        {"Warm", "Warm"},
        {"Été à l'eau 🌊", "Été à l'eau 🌊"},
        {"a/b", "a%2Fb"},
        {"../../.bashrc", "%2E.%2F..%2F.bashrc"},
        {"..", "%2E."},
        {".", "%2E"},
        {".hidden", "%2Ehidden"},
        {"a.b.", "a.b."},                  // only a leading dot hides a file
        {"C:\\x", "C:%5Cx"},
        {"50%", "50%25"},
        {"%2F", "%252F"},                  // a name that looks encoded is encoded again
        {"a\nb\tc", "a%0Ab%09c"},
        {QString::fromUtf16(u"bell\u0007\u007F\u0085"), "bell%07%7F%C2%85"},
        {QString(1, QChar(0)), "%00"},
        {longest, longest},
        {QString(), none},
        {QString(QChar(0xD800)), none},   // a lone surrogate has no UTF-8 form
    };
    for (const auto& [name, fileName] : rows) {
        EXPECT_EQ(fileNameForList(name), fileName) << "name \"" << name.toStdString() << "\"";
        if (fileName) {
            EXPECT_EQ(listNameForFile(*fileName), name) << "file name \"" << fileName->toStdString() << "\"";
        }
    }
}

// Names too long for a file name: a shortened form that fits, is told apart
// from every short name, differs for names alike up to the cut, and comes
// back only through the name kept beside it.
TEST(ListFileName, LongNamesAreShortenedAndKeptBeside)
{
    const QString names[] = {
        QString(maximumBytes + 1, u'x'), QString(maximumBytes, u'x') + u'y',
        QString(maximumBytes / 3 + 1, u'/'),          // escapes are never cut
        QString(maximumBytes / 2 + 1, QChar(0xE9)),   // bytes count, not characters
        QString(200, u'x') + QStringLiteral("🌊🌊🌊🌊🌊🌊🌊🌊🌊🌊🌊"), // nor are surrogate pairs
    };
    QTemporaryDir folder;
    QSet<QString> seen;
    for (const QString& name : names) {
        const QString file = fileNameForList(name).value_or(QString());
        const std::string row = name.left(12).toStdString() + "… (" + std::to_string(name.size()) + ")";
        EXPECT_TRUE(isShortened(file)) << row;
        EXPECT_LE(file.toUtf8().size(), maximumBytes) << row;
        EXPECT_TRUE(QString::fromUtf8(file.toUtf8()) == file) << row << ": cut inside a character";
        EXPECT_FALSE(seen.contains(file)) << row;
        seen.insert(file);
        EXPECT_EQ(listNameForFile(file), std::nullopt) << row;
        EXPECT_EQ(listNameInFolder(folder.path(), file), std::nullopt) << row << ": nothing kept beside it yet";
        ASSERT_TRUE(put(folder.path() + u'/' + file + nameExtension, name.toUtf8()));
        EXPECT_EQ(listNameInFolder(folder.path(), file), name) << row;
        EXPECT_EQ(listNameInFolder(folder.path(), file.chopped(1) + (file.endsWith(u'0') ? u'1' : u'0')), std::nullopt) << row << ": another hash";
    }
}

// Only the encoder's own spelling decodes, so no two files claim one list and
// no file found on disk can name a list that would act as a path.
TEST(ListFileName, OtherSpellingsDecodeToNothing)
{
    const char* rows[] = {
        "", "..", ".", ".hidden", "a/b", "a\\b", "a\nb",   // what the encoder would have encoded
        "%2f", "%41", "%2e", "%C3%A9",                     // needless or lower-case encodings
        "%", "50%", "%2", "%G1", "%C3", "%FF",             // broken or not UTF-8
        "%2E%2E",                                          // only the leading dot is encoded
    };
    for (const char* fileName : rows)
        EXPECT_EQ(listNameForFile(QString::fromUtf8(fileName)), std::nullopt) << "file name \"" << fileName << "\"";
    EXPECT_EQ(listNameForFile(QString(maximumBytes + 1, u'x')), std::nullopt);
}

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
