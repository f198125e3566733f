#include "FileBytes.h"
#include "TempHome.h"

#include "palettes/ClrFormat.h"
#include "palettes/ColorListStore.h"
#include "palettes/GimpPalette.h"
#include "palettes/Sandbox.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// A user whose settings name two shared folders under the test's home, each
// already holding files of the user's own.
class SandboxTest : public testing::Test
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

    TempHome home;
    UserDefaults defaults {home.configHome() + "/Huelark.conf"};
    ColorListStore store {ColorListStore::colorListFolder(), ColorListStore::Watching::no};
    Sandbox sandbox {defaults, store.folder()};
    const QStringList shared {home.path() + "/gimp", home.path() + "/krita"};
};

} // namespace

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
