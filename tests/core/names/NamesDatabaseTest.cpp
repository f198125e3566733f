#include "NamesTestData.h"

#include "names/NamesDatabase.h"

#include "settings/UserDefaults.h"

#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

namespace {

struct Support
{
    Support()
        : defaults(home.configHome() + QStringLiteral("/names.conf"))
        , database(defaults, home.dataHome() + QStringLiteral("/com.quillfen.Huelark"),
                   home.path() + QStringLiteral("/shipped.db"))
    {
        EXPECT_EQ(buildNames("name,hex\nRed,#ff0000\nBlue,#0000ff\n", database.initialDatabasePath()).rows, 2);
    }
    QString updatedText() const { return defaults.stringForKey(QStringLiteral("namesIDUpdatedDate")); }

    TempHome home;
    UserDefaults defaults;
    NamesDatabase database;
};

} // namespace

TEST(NamesDatabase, TheFirstStartCopiesTheShippedDatabaseOnce)
{
    Support s;
    QSignalSpy grew(&s.database, &NamesDatabase::namesCountIncreased);
    s.database.createSupportFolderAndNamesDatabase();
    EXPECT_EQ(storedRows(s.database.liveDatabasePath()).size(), 2);
    EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesCountValue")), 2);
    EXPECT_TRUE(s.updatedText().startsWith("Last Updated: ")) << s.updatedText().toStdString();
    EXPECT_TRUE(s.updatedText().endsWith(" (added 2 new Colors)")) << s.updatedText().toStdString();
    EXPECT_EQ(grew.count(), 1);

    // A live database of the user's own is never replaced.
    ASSERT_EQ(buildNames("name,hex\nMine,#123456\n", s.database.liveDatabasePath()).rows, 1);
    s.database.createSupportFolderAndNamesDatabase();
    EXPECT_EQ(storedRows(s.database.liveDatabasePath()), QStringList{"0|Mine|123456|18|52|86|210|65|20"});
    EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesCountValue")), 1);
    EXPECT_EQ(grew.count(), 1); // fewer names: no "added" text
}

TEST(NamesDatabase, AGrownCountRewritesTheLastUpdateText)
{
    const struct { const char* stored; const char* expected; } rows[] = {
        {"Jan 5, 2026, 10:00", "Last Updated: Jan 5, 2026, 10:00 (added 2 new Colors)"},
        {"Jan 5, 2026, 10:00 (added 7 new Colors)", "Last Updated: Jan 5, 2026, 10:00 (added 2 new Colors)"},
        {"Last Updated: Jan 5, 2026, 10:00 (added 7 new Colors)",
         "Last Updated: Jan 5, 2026, 10:00 (added 2 new Colors)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        Support s;
        s.defaults.setString(QString::fromUtf8(row.stored), QStringLiteral("namesIDUpdatedDate"));
        ASSERT_TRUE(QDir().mkpath(s.database.supportFolder()));
        ASSERT_TRUE(QFile::copy(s.database.initialDatabasePath(), s.database.liveDatabasePath()));
        EXPECT_EQ(s.database.updateNamesCount(), 2);
        EXPECT_EQ(s.updatedText(), QString::fromUtf8(row.expected));
    }
}

TEST(NamesDatabase, ReplacingSwapsTheFileWholeAndLeavesReadersOfTheOldOneAlone)
{
    Support s;
    const QString live = s.database.liveDatabasePath();
    const QString built = s.database.buildDatabasePath();
    QDir().mkpath(s.database.supportFolder());
    ASSERT_EQ(buildNames("name,hex\nOld,#010101\n", live).rows, 1);
    ASSERT_EQ(buildNames("name,hex\nNew,#020202\nNewer,#030303\n", built).rows, 2);

    // A connection open on the old file goes on reading it, untruncated.
    const auto reader = SqlDatabase::databaseWithPath(live);
    ASSERT_TRUE(reader->open());
    EXPECT_TRUE(NamesDatabase::replaceDBFile(built, live));
    const auto rs = reader->executeQuery(QStringLiteral("SELECT name FROM colors"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumnIndex(0), QStringLiteral("Old"));
    rs->close();

    EXPECT_EQ(storedRows(live).size(), 2);
    EXPECT_FALSE(QFile::exists(built));

    // Nothing to put in place: the live file stays.
    QString error;
    EXPECT_FALSE(NamesDatabase::replaceDBFile(built, live, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(storedRows(live).size(), 2);
}
