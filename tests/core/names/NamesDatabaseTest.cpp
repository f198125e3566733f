#include "DamagedDatabase.h"
#include "FileBytes.h"
#include "NamesTestData.h"
#include "TempHome.h"

#include "names/NameTable.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>

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
    // What an update killed halfway leaves behind goes at the next start.
    const QStringList leftovers{s.database.downloadedCSVPath(), s.database.buildDatabasePath(),
                                s.database.buildDatabasePath() + "-journal"};
    for (const QString& file : leftovers)
        ASSERT_TRUE(put(file, {}));
    QSignalSpy grew(&s.database, &NamesDatabase::namesCountIncreased);
    s.database.createSupportFolderAndNamesDatabase();
    EXPECT_EQ(storedRows(s.database.liveDatabasePath()).size(), 2);
    EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesCountValue")), 2);
    // No update has run: no date is made up for one.
    EXPECT_EQ(s.updatedText(), QString());
    EXPECT_TRUE(QRegularExpression("^Shipped with Huelark \\d+\\.\\d+")
                    .match(NamesDatabase::statusText(s.defaults))
                    .hasMatch())
        << NamesDatabase::statusText(s.defaults).toStdString();
    EXPECT_EQ(grew.count(), 1);
    for (const QString& file : leftovers)
        EXPECT_FALSE(QFile::exists(file)) << file.toStdString();

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

// A live database that cannot be read to its end, or holds no name, is put
// aside (never deleted) for the shipped one, and the user is told where.
TEST(NamesDatabase, AnUnusableLiveDatabaseIsMovedAsideAndTheShippedOneReinstalled)
{
    const struct { const char* what; std::function<void(const QString& live)> make; const char* problem; } rows[] = {
        {"damaged in the middle",
         [](const QString& live) {
             ASSERT_TRUE(QFile::copy(NamesDatabase::shippedDatabasePath(), live));
             damageMiddlePages(live);
         },
         "could not be read (database disk image is malformed)"},
        {"not a database", [](const QString& live) { ASSERT_TRUE(put(live, QByteArray(8192, 'x'))); },
         "could not be read (file is not a database)"},
        {"without the table", [](const QString& live) { ASSERT_TRUE(put(live, {})); },
         "could not be read (no such table: colors)"},
        {"empty", [](const QString& live) { ASSERT_EQ(buildNames("name,hex\n", live).rows, 0); }, "held no names"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Support s;
        const QString live = s.database.liveDatabasePath();
        ASSERT_TRUE(QDir().mkpath(s.database.supportFolder()));
        row.make(live);
        const QByteArray damaged = contents(live);
        s.defaults.setInteger(7, QStringLiteral("namesID"));
        s.defaults.setString(QStringLiteral("Last Updated: Jan 5, 2026, 10:00"), QStringLiteral("namesIDUpdatedDate"));
        QSignalSpy reinstalled(&s.database, &NamesDatabase::liveDatabaseReinstalled);

        const std::shared_ptr<const NameTable> names = s.database.loadLiveNames();
        ASSERT_TRUE(names);
        EXPECT_EQ(names->closestColorNameToColor(Color::fromIntegers(250, 0, 0)), "Red");
        EXPECT_EQ(storedRows(live).size(), 2);
        const QStringList kept = QDir(s.database.supportFolder()).entryList({"ColorNames-damaged-*.db"});
        ASSERT_EQ(kept.size(), 1);
        const QString moved = s.database.supportFolder() + '/' + kept[0];
        EXPECT_EQ(contents(moved), damaged);

        // The release is no longer installed, and the status line says why.
        ASSERT_EQ(reinstalled.count(), 1);
        const QString notice = reinstalled.first().first().toString();
        EXPECT_TRUE(notice.startsWith(QStringLiteral("The names database %1, so the names shipped with Huelark ")
                                          .arg(QLatin1String(row.problem))))
            << notice.toStdString();
        EXPECT_TRUE(notice.endsWith("The old file is kept as " + moved + '.')) << notice.toStdString();
        EXPECT_EQ(NamesDatabase::statusText(s.defaults), notice);
        EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesID")), 0);
        EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesCountValue")), 2);

        // Sound now: loading again changes nothing.
        EXPECT_EQ(s.database.loadLiveNames()->recordCount(), 2);
        EXPECT_EQ(reinstalled.count(), 1);
    }
}

TEST(NamesDatabase, TheUpdateDateHasNoWeekdayAndNoSecondsInAnyLocale)
{
    // A Wednesday, with seconds no minute could be mistaken for.
    const QDateTime when(QDate(2026, 12, 9), QTime(14, 7, 59));
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    int failures = 0;
    for (const QLocale& locale : locales) {
        const QString text = NamesDatabase::updatedDateText(when, locale);
        const bool weekday = text.contains(locale.dayName(3, QLocale::LongFormat), Qt::CaseInsensitive);
        const bool seconds = text.contains(locale.toString(59));
        const bool date = text.contains(locale.toString(QDate(2026, 12, 9), QStringLiteral("yyyy")));
        if ((weekday || seconds || !date) && ++failures <= 5)
            ADD_FAILURE() << locale.name().toStdString() << ": " << text.toStdString();
    }
    EXPECT_EQ(failures, 0) << "of " << locales.size() << " locales";
    // (Newer locale data puts a narrow space before "PM".)
    EXPECT_EQ(NamesDatabase::updatedDateText(when, QLocale(QLocale::English, QLocale::UnitedStates))
                  .replace(QChar(0x202f), u' '),
              "Dec 9, 2026, 2:07 PM");
}

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
