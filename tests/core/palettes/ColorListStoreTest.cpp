#include "FileBytes.h"
#include "ListKeys.h"
#include "TempHome.h"

#include "palettes/ClrFormat.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteFile.h"
#include "palettes/SystemColorLists.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace {

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
    EXPECT_EQ(store.colorListNamed("Web Safe Colors")->size(), 216);
    EXPECT_EQ(store.colorListNamed("Web Safe Colors")->color("#3366CC"), Color::fromIntegers(51, 102, 204));
    EXPECT_EQ(store.colorListNamed("CSS Colors")->size(), 148);
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
    struct Row
    {
        const char* what;
        bool emptyTrash;
        bool takeName;
        const char* cameBackAs;
    };
    const Row rows[] = {
        {"from the trash", false, false, "Warm"},
        {"trash emptied", true, false, "Warm"},
        {"name taken", false, true, "Warm (2)"},
    };
    for (const Row& row : rows) {
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
