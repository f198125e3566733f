#include "DamagedDatabase.h"
#include "FileBytes.h"
#include "TempHome.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"
#include "history/HistoryStore.h"
#include "palettes/AdobeSwatchExchange.h"
#include "palettes/ClrFormat.h"
#include "palettes/ColorList.h"
#include "palettes/ColorListNaming.h"
#include "palettes/ColorListStore.h"
#include "palettes/GimpPalette.h"
#include "palettes/HistoryPalettes.h"
#include "palettes/ListFileName.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteImport.h"
#include "palettes/Sandbox.h"
#include "palettes/SystemColorLists.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <optional>

using namespace ColorListNaming;
using namespace ListFileName;

namespace {

// A list's keys in order, none for no list: what most palette tests compare.
QStringList keys(const std::optional<ColorList>& list)
{
    QStringList all;
    if (list)
        for (const ColorList::Entry& entry : list->entries())
            all << entry.key;
    return all;
}

const Color red = Color::fromIntegers(255, 0, 0);
const Color green = Color::fromIntegers(0, 255, 0);
const Color blue = Color::fromIntegers(0, 0, 255);

class ColorListStoreTest : public testing::Test
{
protected:
    QString folder() const { return ColorListStore::colorListFolder(); }
    QString file(const QString& name) const { return folder() + u'/' + name; }

    TempHome home;
};

// A user whose settings name two shared folders under the test's home, each
// already holding files of the user's own.
class SandboxTest : public ColorListStoreTest
{
protected:
    void SetUp() override
    {
        defaults.setString(home.path(), "userFolder");
        defaults.setArray({"~/gimp", "~/krita"}, "sharedColorFolders");
        for (const QString& folder : shared)
            for (const char* own : {"Warm.gpl", "huelark.gpl", "huelark-notes.txt"})
                ASSERT_TRUE(put(folder + '/' + own, "the user's"));
        store.setSandbox(&sandbox);
    }

    QStringList filesIn(const QString& folder) const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
    QStringList ownFiles() const { return {"Warm.gpl", "huelark-notes.txt", "huelark.gpl"}; }

    UserDefaults defaults {home.configHome() + "/Huelark.conf"};
    ColorListStore store {ColorListStore::colorListFolder(), ColorListStore::Watching::no};
    Sandbox sandbox {defaults, store.folder()};
    const QStringList shared {home.path() + "/gimp", home.path() + "/krita"};
};

// Every reddish colour is "Red", everything else "Other".
QString closestName(const Color& color)
{
    return color.integerComponents()[0] > 200 ? QStringLiteral("Red") : QStringLiteral("Other");
}

} // namespace

TEST_F(ColorListStoreTest, CreatesInsertsWritesAndRemovesLists)
{
    ColorListStore store;
    EXPECT_EQ(folder(), home.dataHome() + "/huelark/Colors");
    ASSERT_TRUE(store.createColorList("Warm"));
    for (const char* taken : {"Warm", "CSS Colors", "", ".."})
        EXPECT_EQ(store.createColorList(taken), QString(taken) == "..") << taken; // ".." is a fine name, encoded
    store.insertColor("Warm", red, "Red", 0);
    store.insertColor("Warm", blue, "Blue", 0);
    store.insertColor("Warm", green, "Red", 9); // a key present leaves its place
    EXPECT_EQ(keys(store.colorListNamed("Warm")), QStringList({"Blue", "Red"}));
    EXPECT_FALSE(store.insertColor("CSS Colors", red, "Red", 0));
    EXPECT_FALSE(QFile::exists(file("Warm.clr"))) << "held until written";

    EXPECT_EQ(store.writeColorList("Warm"), "");
    const ColorListStore reader(folder(), ColorListStore::Watching::no);
    EXPECT_EQ(reader.colorListNamed("Warm"), store.colorListNamed("Warm"));
    EXPECT_TRUE(reader.isEditable("Warm"));
    EXPECT_FALSE(reader.isEditable("Web Safe Colors"));
    EXPECT_FALSE(reader.colorListNamed("..")) << "never written";

    EXPECT_EQ(store.renameColorList("Warm", "Hot"), "");
    EXPECT_EQ(store.renameColorList("Hot", "CSS Colors"), "there is already a list \"CSS Colors\"");
    EXPECT_FALSE(QFile::exists(file("Warm.clr")));
    EXPECT_EQ(keys(store.colorListNamed("Hot")), QStringList({"Blue", "Red"}));

    EXPECT_TRUE(store.removeColorList("Hot"));
    EXPECT_FALSE(store.removeColorList("Web Safe Colors"));
    EXPECT_FALSE(QFile::exists(file("Hot.clr")));
    EXPECT_FALSE(store.colorListNamed("Hot"));

    // A name too long for a file name lives in a shortened file, its whole
    // self kept beside it, and both go together.
    const QString longName = QString(300, u'h') + " (2)";
    ASSERT_TRUE(store.createColorList(longName));
    store.insertColor(longName, red, "Red", 0);
    EXPECT_EQ(store.writeColorList(longName), "");
    EXPECT_EQ(keys(ColorListStore(folder(), ColorListStore::Watching::no).colorListNamed(longName)), QStringList({"Red"}));
    EXPECT_TRUE(store.removeColorList(longName));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Our own write, and its echo from the watcher, give one signal; another
// process's burst of changes gives one more, and the store reads it.
TEST_F(ColorListStoreTest, FollowsOutsideChangesWithOneSignalPerBurst)
{
    ColorListStore store;
    QSignalSpy changed(&store, &ColorListStore::colorListsChanged);
    ColorList warm("Warm");
    warm.setColor("Red", red);
    ASSERT_EQ(store.saveColorList(warm), "");
    ASSERT_TRUE(changed.wait());

    ColorList cold("Cold");
    cold.setColor("Blue", blue);
    ASSERT_TRUE(put(file("Cold.clr"), ClrFormat::writeColorList(cold)));
    ASSERT_TRUE(put(file("Warm.clr"), ClrFormat::writeColorList(cold))); // in place, as an editor might
    ASSERT_TRUE(QFile::remove(file("Warm.clr")));
    ASSERT_TRUE(put(file("Warm.clr"), ClrFormat::writeColorList(warm)));
    ASSERT_TRUE(put(file("notes.txt"), "mine"));
    ASSERT_TRUE(changed.wait());
    EXPECT_EQ(store.colorListNamed("Cold"), cold);

    ASSERT_TRUE(QFile::remove(file("Cold.clr")));
    ASSERT_TRUE(changed.wait());
    EXPECT_EQ(changed.count(), 3);
    EXPECT_FALSE(store.colorListNamed("Cold"));
    EXPECT_EQ(store.colorListNamed("Warm"), warm);
}

// Files the store could not have written are not lists and are never
// replaced; an unreadable list's name stays taken.
TEST_F(ColorListStoreTest, LeavesUnreadableAndForeignFilesAlone)
{
    const struct { const char* name; QByteArray bytes; } files[] = {
        {"Broken.clr", "not a list at all"},
        {"%2f.clr", "GIMP Palette\n1 2 3\tA\n"}, // not our spelling of "/"
        {"Upper.CLR", "GIMP Palette\n1 2 3\tA\n"},
        {"notes.txt", "mine"},
    };
    for (const auto& f : files)
        ASSERT_TRUE(put(file(f.name), f.bytes));

    ColorListStore store;
    EXPECT_FALSE(store.colorListNamed("Broken"));
    EXPECT_FALSE(store.colorListNamed("/"));
    EXPECT_FALSE(store.colorListNamed("Upper"));
    EXPECT_TRUE(store.takenNames().contains("Broken"));
    EXPECT_FALSE(store.createColorList("Broken"));
    ColorList broken("Broken");
    broken.setColor("Red", red);
    EXPECT_NE(store.saveColorList(broken), "");
    EXPECT_EQ(store.saveColorList(ColorList("/")), "");
    for (const auto& f : files)
        EXPECT_EQ(contents(file(f.name)), f.bytes) << f.name;
}

// A write that fails half-way (here the file-size limit, as a full disk
// would) leaves the old file whole and nothing beside it.
TEST_F(ColorListStoreTest, AFailedWriteKeepsTheOldFile)
{
    ColorListStore store(folder(), ColorListStore::Watching::no);
    ColorList warm("Warm");
    warm.setColor("Red", red);
    ASSERT_EQ(store.saveColorList(warm), "");
    const QByteArray before = contents(file("Warm.clr"));
    for (int i = 0; i < 200; ++i)
        warm.setColor(QString::number(i), Color::fromIntegers(i, i, i));

    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const QString error = store.saveColorList(warm);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_NE(error, "");
    EXPECT_EQ(contents(file("Warm.clr")), before);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList {"Warm.clr"});
    EXPECT_EQ(store.colorListNamed("Warm")->size(), 1);
    EXPECT_NE(PaletteFile::write(file("Warm.clr"), warm, false), "") << "an existing file needs replace";
    EXPECT_EQ(contents(file("Warm.clr")), before);
}

TEST_F(ColorListStoreTest, OffersTheSystemListsAndInstalledGimpPalettes)
{
    QTemporaryDir system;
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", (system.path() + "/none:" + system.path()).toUtf8());
    const struct { const char* path; QByteArray bytes; } files[] = {
        {"/gimp/2.0/palettes/Tango.gpl", "GIMP Palette\nName: Tango Icons\n252 233 79\tButter 1\n252 233 79\tButter 1\n"},
        {"/inkscape/palettes/unnamed.gpl", "GIMP Palette\n1 2 3\n"},
        {"/krita/palettes/notes.txt", "GIMP Palette\n1 2 3\n"},
        {"/krita/palettes/CSS.gpl", "GIMP Palette\nName: CSS Colors\n1 2 3\n"},
    };
    for (const auto& f : files)
        ASSERT_TRUE(put(system.path() + f.path, f.bytes));
    // The user's own data folder holds our mirrors: never a system list.
    ASSERT_TRUE(put(home.dataHome() + "/krita/palettes/huelark-Warm.gpl", "GIMP Palette\nName: Warm\n1 2 3\n"));

    const ColorListStore store(folder(), ColorListStore::Watching::no);
    QStringList names;
    for (const ColorListStore::Available& available : store.availableColorLists()) {
        names << available.list.name();
        EXPECT_FALSE(available.editable);
    }
    qputenv("XDG_DATA_DIRS", savedDirs);
    EXPECT_EQ(names, QStringList({"Web Safe Colors", "CSS Colors", "Tango Icons", "unnamed"}));
    EXPECT_EQ(store.colorListNamed("Web Safe Colors")->color("#3366CC"), Color::fromIntegers(51, 102, 204));
    EXPECT_EQ(store.colorListNamed("CSS Colors")->color("rebeccapurple"), Color::fromIntegers(102, 51, 153));
    EXPECT_EQ(store.colorListNamed("Tango Icons")->size(), 1);
    EXPECT_EQ(keys(store.colorListNamed("unnamed")), QStringList {"#010203"});
}

// A deleted list goes to the desktop's trash and comes back from it whole:
// its own file when the trash still has it, written anew when the trash was
// emptied, under a new name when its name was taken meanwhile; and the
// trash keeps no note of a file that left it.
TEST(ColorListTrash, ADeletedListComesBackWhateverHappenedMeanwhile)
{
    const struct { const char* what; bool emptyTrash, takeName; const char* cameBackAs; } rows[] = {
        {"from the trash", false, false, "Warm"},
        {"trash emptied", true, false, "Warm"},
        {"name taken", false, true, "Warm (2)"},
    };
    for (const auto& row : rows) {
        TempHome home;
        ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
        ColorList warm("Warm");
        warm.setColor("Red", Color::fromIntegers(255, 0, 0));
        ASSERT_EQ(store.saveColorList(warm), "") << row.what;
        const QString file = store.pathForColorListWithName("Warm");

        const std::optional<ColorListStore::TrashedList> trashed = store.trashColorList("Warm");
        ASSERT_TRUE(trashed) << row.what;
        EXPECT_FALSE(QFile::exists(file)) << row.what;
        EXPECT_FALSE(store.colorListNamed("Warm")) << row.what;
        const QDir trash(home.dataHome() + "/Trash");
        EXPECT_EQ(QDir(trash.filePath("info")).entryList(QDir::Files).size(), 1) << row.what;
        if (row.emptyTrash)
            QDir(trash.path()).removeRecursively();
        if (row.takeName) {
            ColorList other("Warm");
            other.setColor("Blue", Color::fromIntegers(0, 0, 255));
            ASSERT_EQ(store.saveColorList(other), "") << row.what;
        }

        const std::optional<QString> name = store.restoreColorList(*trashed);
        ASSERT_TRUE(name) << row.what;
        EXPECT_EQ(*name, row.cameBackAs) << row.what;
        const std::optional<ColorList> back = store.colorListNamed(*name);
        ASSERT_TRUE(back) << row.what;
        EXPECT_EQ(back->entries(), warm.entries()) << row.what;
        EXPECT_TRUE(QFile::exists(store.pathForColorListWithName(*name))) << row.what;
        EXPECT_TRUE(QDir(trash.filePath("files")).isEmpty()) << row.what;
        EXPECT_TRUE(QDir(trash.filePath("info")).isEmpty()) << row.what;
    }
}

TEST(Sandbox, ExpandsTheHomeFolder)
{
    TempHome home;
    UserDefaults defaults(home.configHome() + "/Huelark.conf");
    const struct { const char* userFolder; const char* path; QString expanded; } rows[] = {
        {nullptr, "~/.config/inkscape", home.path() + "/.config/inkscape"},
        {"/users/x", "~/.config/inkscape", "/users/x/.config/inkscape"},
        {"/users/x", "/srv/palettes", "/srv/palettes"},
        {"/users/x", "~", "/users/x"},
    };
    for (const auto& row : rows) {
        if (row.userFolder)
            defaults.setString(row.userFolder, "userFolder");
        EXPECT_EQ(Sandbox::checkForUserDirectory(row.path, defaults), row.expanded) << row.path;
    }

    // Only the programs the user has get a folder by default.
    defaults.setString(home.path(), "userFolder");
    EXPECT_EQ(Sandbox::defaultSharedColorFolders(defaults), QStringList());
    QDir().mkpath(home.path() + "/.config/GIMP/3.0");
    QDir().mkpath(home.path() + "/.local/share/krita");
    EXPECT_EQ(Sandbox::defaultSharedColorFolders(defaults),
              QStringList({"~/.config/GIMP/3.0/palettes", "~/.local/share/krita/palettes"}));
    EXPECT_EQ(Sandbox(defaults, "/none").sharedFolders(),
              QStringList({home.path() + "/.config/GIMP/3.0/palettes", home.path() + "/.local/share/krita/palettes"}));
}

TEST_F(SandboxTest, MirrorFollowsSaveRenameAndRemoveAndTouchesNothingElse)
{
    ColorList warm("Warm/ish");
    warm.setColor("Red", Color::fromIntegers(255, 0, 0));
    // A link under the mirror's name must not carry the write to the user's file.
    ASSERT_TRUE(QFile::link(shared[0] + "/Warm.gpl", shared[0] + "/huelark-Warm%2Fish.gpl"));
    ASSERT_EQ(store.saveColorList(warm), "");
    for (const QString& folder : shared) {
        EXPECT_EQ(filesIn(folder), QStringList({"Warm.gpl", "huelark-Warm%2Fish.gpl", "huelark-notes.txt", "huelark.gpl"}));
        EXPECT_EQ(contents(folder + "/huelark-Warm%2Fish.gpl"), GimpPalette::writeColorList(warm));
    }
    EXPECT_TRUE(sandbox.colorListExists("Warm/ish"));

    ASSERT_EQ(store.renameColorList("Warm/ish", "Hot"), "");
    for (const QString& folder : shared)
        EXPECT_EQ(filesIn(folder), QStringList({"Warm.gpl", "huelark-Hot.gpl", "huelark-notes.txt", "huelark.gpl"}));

    ASSERT_TRUE(store.removeColorList("Hot"));
    EXPECT_FALSE(sandbox.removeColorListNamed("Hot")) << "nothing left to remove";
    for (const QString& folder : shared) {
        EXPECT_EQ(filesIn(folder), ownFiles());
        for (const QString& own : ownFiles())
            EXPECT_EQ(contents(folder + '/' + own), "the user's");
    }
    EXPECT_FALSE(sandbox.addColorListNamed(""));
    EXPECT_FALSE(sandbox.addColorListNamed("Never written"));
}

// Sync copies only what a folder lacks; sharing off writes nothing.
TEST_F(SandboxTest, SyncFillsTheGapsAndSharingOffWritesNothing)
{
    for (const char* name : {"A", "B"}) {
        ColorList list(name);
        list.setColor("Red", Color::fromIntegers(255, 0, 0));
        ASSERT_TRUE(put(store.folder() + '/' + name + ".clr", ClrFormat::writeColorList(list)));
    }
    ASSERT_TRUE(put(shared[0] + "/huelark-A.gpl", "kept"));
    ASSERT_TRUE(put(shared[1] + "/huelark-A.gpl", "kept"));
    ASSERT_TRUE(put(shared[1] + "/huelark-B.gpl", "kept"));
    sandbox.syncColorLists();
    EXPECT_EQ(contents(shared[0] + "/huelark-A.gpl"), "kept");
    EXPECT_TRUE(contents(shared[0] + "/huelark-B.gpl").startsWith("GIMP Palette\nName: B\n"));

    defaults.setBool(false, "sharePalettes");
    QDir(shared[0]).removeRecursively();
    QDir(shared[1]).removeRecursively();
    ColorList cold("Cold");
    cold.setColor("Blue", Color::fromIntegers(0, 0, 255));
    ASSERT_EQ(store.saveColorList(cold), "");
    sandbox.syncColorLists();
    EXPECT_FALSE(sandbox.addColorListNamed("Cold"));
    EXPECT_FALSE(QFileInfo::exists(shared[0]));
    EXPECT_FALSE(QFileInfo::exists(shared[1]));
}

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
        {"a.b.", "a.b."},                  // only a leading dot hides a file
        {"C:\\x", "C:%5Cx"},
        {"50%", "50%25"},
        {"%2F", "%252F"},                  // a name that looks encoded is encoded again
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
}

TEST_F(ColorListStoreTest, MakesNewListsWithUniqueNamesAndKeys)
{
    ColorListStore store(ColorListStore::colorListFolder(), ColorListStore::Watching::no);
    const QString json = home.path() + "/warm.json";
    ASSERT_TRUE(put(json, R"({"paletteName": "Warm", "colors": ["#ff0000", "#fe0000", "#0000ff", "#ff0000"]})"));
    const ColorSpacePtr srgb = ColorSpace::sRGB();

    EXPECT_EQ(PaletteImport::importFile(store, json, closestName, srgb).listName, "Warm");
    EXPECT_EQ(keys(store.colorListNamed("Warm")), QStringList({"Red", "Red_fe0000", "Other"}));

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
TEST_F(ColorListStoreTest, MovesOldRecordsIntoListsAndDeletesOnlyWhatWasWritten)
{
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
    for (const auto& r : records) {
        QVariantList values {r.name};
        for (const QByteArray& color : {r.last, r.one, r.two, r.three})
            values << (color.isEmpty() ? QVariant() : QVariant(color));
        ASSERT_TRUE(runSql(history.filePath(),
                           "INSERT INTO Palette (name, color_last, color_1, color_2, color_3) VALUES (?, ?, ?, ?, ?)", values));
    }

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
    ASSERT_TRUE(runSql(history.filePath(), "CREATE TRIGGER keep BEFORE DELETE ON Palette BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    ASSERT_TRUE(runSql(history.filePath(), "INSERT INTO Palette (name, color_last) SELECT 'Stuck', color_last FROM Palette"));
    for (int start = 0; start < 2; ++start)
        EXPECT_EQ(HistoryPalettes::migratePalettesFromCoreDataToClrFiles(history, store, spaces, ColorSpace::sRGB(), closestName), 0);
    EXPECT_FALSE(store.colorListNamed("Stuck"));
    EXPECT_EQ(history.palettesManagedObjectArray().size(), 2);
}
