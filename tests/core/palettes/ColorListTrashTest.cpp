#include "TempHome.h"

#include "palettes/ColorListStore.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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
