#include "NamesTestData.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>

TEST(NamesDatabaseBuilder, StoresOneRowPerTwoFieldLineWithTheLinesNumberAsId)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.db"));
    const QByteArray csv = "name,hex\n"
                           "Red,#ff0000\n"                  // hue 360 is stored as 0
                           "Gray,#808080\n"                 // no hue, no saturation
                           "\"Salt, Pepper\",#777777\n"     // three fields: skipped, its id unused
                           " Spaced Out ,#00FF00\r\n"       // blanks stay in the name; "\r" and case of the code
                           "Twice Hashed,##0000ff#\n"       // "#" trimmed at both ends
                           "Lonely\n"                       // one field: skipped
                           "Short,#abc\n"                   // read as the hex field reads it
                           "\n";                            // the final newline's empty line
    const NamesDatabaseBuilder::Result result = buildNames(csv, path);
    EXPECT_EQ(result.status, NamesDatabaseBuilder::Result::Status::Built);
    EXPECT_EQ(result.rows, 5);
    EXPECT_EQ(storedRows(path), (QStringList{
                                    "0|Red|ff0000|255|0|0|0|100|50",
                                    "1|Gray|808080|128|128|128|0|0|50",
                                    "3| Spaced Out |00FF00|0|255|0|120|100|50",
                                    "4|Twice Hashed|0000ff|0|0|255|240|100|50",
                                    "6|Short|abc|170|187|204|210|25|73",
                                }));
}

TEST(NamesDatabaseBuilder, InputWithoutDataRowsOrNotUtf8GivesAnEmptyTable)
{
    QTemporaryDir dir;
    const struct { const char* what; QByteArray csv; } rows[] = {
        {"header only", "name,hex\n"},
        {"an error page", "<html><body>Not found</body></html>\n"},
        {"not UTF-8", "name,hex\nRed,#ff0000\nBad\xff\xfe,#000000\n"},
        {"nothing", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QString::fromLatin1(row.what) + QStringLiteral(".db"));
        const NamesDatabaseBuilder::Result result = buildNames(row.csv, path);
        EXPECT_EQ(result.status, NamesDatabaseBuilder::Result::Status::Built);
        EXPECT_EQ(result.rows, 0);
        EXPECT_EQ(storedRows(path), QStringList());
    }
}

// A cancelled build, and one stopped by a full disk, leave the database as
// it was. SQLite answers a full disk by rolling the whole transaction back,
// the new table with it: the build stops there, with that reason.
TEST(NamesDatabaseBuilder, ACancelledOrFailedBuildLeavesTheDatabaseAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.db"));
    ASSERT_EQ(buildNames("name,hex\nRed,#ff0000\n", path).rows, 1);
    const QStringList before{"0|Red|ff0000|255|0|0|0|100|50"};

    std::atomic<bool> cancelled{true};
    const NamesDatabaseBuilder::Result cancelledBuild = NamesDatabaseBuilder::generateDatabaseFromCSV(
        NamesDatabaseBuilder::linesFromCSV("name,hex\nBlue,#0000ff\n"), path, ColorSpace::sRGB(), &cancelled);
    EXPECT_EQ(cancelledBuild.status, NamesDatabaseBuilder::Result::Status::Cancelled);
    EXPECT_EQ(storedRows(path), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));

    const auto db = SqlDatabase::databaseWithPath(path);
    ASSERT_TRUE(db->open());
    // The disk is full once the file would pass 40 pages.
    ASSERT_TRUE(db->executeQuery(QStringLiteral("PRAGMA max_page_count = 40"))->next());
    const NamesDatabaseBuilder::Result fullDisk = NamesDatabaseBuilder::generateDatabaseFromCSV(
        NamesDatabaseBuilder::linesFromCSV(largeCSV(20000)), *db, ColorSpace::sRGB());
    EXPECT_EQ(fullDisk.status, NamesDatabaseBuilder::Result::Status::Failed);
    EXPECT_EQ(fullDisk.error, "database or disk is full");
    EXPECT_FALSE(db->inTransaction());
    db->close();
    EXPECT_EQ(storedRows(path), before);
}
