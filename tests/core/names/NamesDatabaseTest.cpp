#include "../LogLines.h"
#include "DamagedDatabase.h"
#include "FileBytes.h"
#include "LocalHttpServer.h"
#include "NamesTestData.h"
#include "TempHome.h"

#include "colour/HexCodec.h"
#include "names/NameCache.h"
#include "names/NameTable.h"
#include "names/NamesDatabase.h"
#include "names/NamesDatabaseUpdater.h"
#include "settings/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <random>
#include <thread>

namespace {

// A names database in a throw-away home, with a shipped release of two names.
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

Color rgb(int r, int g, int b)
{
    return Color::fromIntegers(r, g, b);
}

const Color red = Color::fromIntegers(255, 0, 0);

// The worker started, done, and whatever it posted delivered.
void settle(const NameCache& cache)
{
    EXPECT_TRUE(QTest::qWaitFor([&cache] { return !cache.isLoading(); }));
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

// A first step for a worker that holds it until told to read on, so that a
// test can act while the worker is under way.
struct HeldWorker
{
    std::function<void()> step()
    {
        return [this] {
            started = true;
            resume.acquire();
        };
    }
    bool waitUntilStarted()
    {
        return QTest::qWaitFor([this] { return started.load(); });
    }
    std::atomic<bool> started = false;
    QSemaphore resume;
};

using Outcome = NamesDatabaseUpdater::Outcome;
using Mode = LocalHttpServer::Response::Mode;

const QString releasesPath = QStringLiteral("/repos/meodai/color-names/releases");
const QString csvPath = QStringLiteral("/color-name-list@v2.0/dist/colornames.csv");
const QByteArray releases = R"([{"id": 7, "name": "v2.0"}, {"id": 6, "name": "v1.0"}])";
const QByteArray newCSV = "name,hex\nNew Red,#ff0000\nNew Green,#00ff00\nNew Blue,#0000ff\n";
const QStringList oldRows{"0|Old Red|ff0000|255|0|0|0|100|50", "1|Old Blue|0000ff|0|0|255|240|100|50"};

// An updater with release 6 installed (two old names), pointed at a local
// server that offers release 7.
struct Update : Support
{
    explicit Update(qint64 installedRelease = 6)
        : cache(database.liveDatabasePath())
    {
        QDir().mkpath(database.supportFolder());
        EXPECT_EQ(buildNames("name,hex\nOld Red,#ff0000\nOld Blue,#0000ff\n", database.liveDatabasePath()).rows, 2);
        defaults.setInteger(installedRelease, QStringLiteral("namesID"));
        defaults.setString(QStringLiteral("v1.0"), QStringLiteral("namesVersion"));
        database.updateNamesCount();
        cache.setPrepareCompletionsAhead(false);
        cache.cacheNamesDatabase();

        updater = std::make_unique<NamesDatabaseUpdater>(database, defaults, &cache);
        updater->setAPIHost(server.url());
        updater->setCDNHost(server.url());
        updater->setTransferTimeout(300);
        QObject::connect(updater.get(), &NamesDatabaseUpdater::updatedLabelChanged, updater.get(),
                         [this](const QString& text) { labels << text; });
        server.setResponse(releasesPath, {200, releases, "application/json"});
        server.setResponse(csvPath, {200, newCSV, "text/csv"});
    }

    Outcome run()
    {
        QSignalSpy finished(updater.get(), &NamesDatabaseUpdater::finished);
        updater->pressButton();
        if (finished.isEmpty() && !finished.wait(30000)) {
            ADD_FAILURE() << "the update did not finish";
            return Outcome::Failed;
        }
        return finished.first().first().value<Outcome>();
    }

    // What every ending leaves: back to Idle, nothing left over.
    void expectIdleAndClean() const
    {
        EXPECT_EQ(updater->state(), NamesDatabaseUpdater::State::Idle);
        EXPECT_EQ(updater->buttonTitle(), "Update database");
        EXPECT_EQ(updater->buttonAction(), NamesDatabaseUpdater::ButtonAction::StartDownload);
        EXPECT_TRUE(updater->buttonEnabled());
        EXPECT_FALSE(updater->spinnerVisible());
        EXPECT_FALSE(QFile::exists(database.buildDatabasePath()));
        EXPECT_FALSE(QFile::exists(database.downloadedCSVPath()));
    }

    // The live names and the recorded release are those from before.
    void expectOldNamesKept() const
    {
        EXPECT_EQ(storedRows(database.liveDatabasePath()), oldRows);
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("namesID")), 6);
        EXPECT_EQ(defaults.stringForKey(QStringLiteral("namesVersion")), "v1.0");
        EXPECT_EQ(updater->namesVersion(), "v1.0");
        EXPECT_EQ(updater->databaseVersion(), 6);
        EXPECT_EQ(cache.closestColorNameToColor(Color::fromIntegers(255, 0, 0)), "Old Red");
    }

    LocalHttpServer server;
    NameCache cache;
    std::unique_ptr<NamesDatabaseUpdater> updater;
    QStringList labels;
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
    EXPECT_EQ(s.defaults.integerForKey(QStringLiteral("namesCountValue")), 2);
    // No update has run: no date is made up for one.
    EXPECT_EQ(s.updatedText(), QString());
    EXPECT_EQ(NamesDatabase::statusText(s.defaults), NamesDatabase::shippedText());
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

// One row per two-field line, the line's number its id; input without data
// rows, or not UTF-8, gives an empty table.
TEST(NamesDatabaseBuilder, StoresOneRowPerTwoFieldLineWithTheLinesNumberAsId)
{
    QTemporaryDir dir;
    const struct { const char* what; QByteArray csv; QStringList rows; } rows[] = {
        {"lines of every kind",
         "name,hex\n"
         "Red,#ff0000\n"                  // hue 360 is stored as 0
         "Gray,#808080\n"                 // no hue, no saturation
         "\"Salt, Pepper\",#777777\n"     // three fields: skipped, its id unused
         " Spaced Out ,#00FF00\r\n"       // blanks stay in the name; "\r" and case of the code
         "Twice Hashed,##0000ff#\n"       // "#" trimmed at both ends
         "Lonely\n"                       // one field: skipped
         "Short,#abc\n"                   // read as the hex field reads it
         "\n",                            // the final newline's empty line
         {"0|Red|ff0000|255|0|0|0|100|50", "1|Gray|808080|128|128|128|0|0|50",
          "3| Spaced Out |00FF00|0|255|0|120|100|50", "4|Twice Hashed|0000ff|0|0|255|240|100|50",
          "6|Short|abc|170|187|204|210|25|73"}},
        {"not UTF-8", "name,hex\nRed,#ff0000\nBad\xff\xfe,#000000\n", {}},
        {"nothing", "", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QString::fromLatin1(row.what) + QStringLiteral(".db"));
        const NamesDatabaseBuilder::Result result = buildNames(row.csv, path);
        EXPECT_EQ(result.status, NamesDatabaseBuilder::Result::Status::Built);
        EXPECT_EQ(result.rows, row.rows.size());
        EXPECT_EQ(storedRows(path), row.rows);
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

TEST(NameCache, AKnownCodeIsAnExactHitAndAnyOtherColourTakesTheNearest)
{
    NamesFolder names("name,hex\nRed,#ff0000\nBlue,#0000ff\nOrange Red,#ff0400\nRaspberry,#c8003c\n");
    const struct { Color color; const char* name; } rows[] = {
        {rgb(255, 0, 0), "Red"},
        {rgb(254, 0, 0), "Red"}, // d = 1 + 2·0 against 244741 for Blue
        {rgb(0, 0, 200), "Blue"},
        // Hue 359: Orange Red (hue 1) would be 2° away around the circle,
        // but hues do not wrap, so it is 358° away.
        {rgb(255, 0, 4), "Raspberry"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(names.cache.closestColorNameToColor(row.color), QString::fromLatin1(row.name));
    }
    EXPECT_EQ(names.cache.closestColorNameToColor(QStringLiteral("#fe0000"), ColorSpace::sRGB()), "Red");
}

TEST(NameCache, DuplicatesFollowTheLaterRowAndTiesTheEarlierRecord)
{
    NamesFolder names("name,hex\n"
                    "Old Red,#ff0000\n"
                    "Crimson,#dc143c\n"
                    "New Red,#ff0000\n"     // same code: replaces Old Red's record
                    "Crimson,#dd143c\n"     // same name: the name now leads to dd143c
                    "Left,#010101\n"
                    "Right,#050505\n");     // 030303 is equally far from both
    NameCache& cache = names.cache;
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "New Red");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Old Red")), QStringLiteral("ff0000"));
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Crimson")), QStringLiteral("dd143c"));
    // The earlier Crimson's record is still there under its code.
    EXPECT_EQ(cache.closestColorNameToColor(rgb(0xdc, 0x14, 0x3c)), "Crimson");
    EXPECT_EQ(cache.closestColorNameToColor(rgb(3, 3, 3)), "Left");
    EXPECT_EQ(cache.snapshot()->recordCount(), 5);
    EXPECT_EQ(cache.snapshot()->nameCount(), 5);
    // Names match exactly.
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("crimson")), std::nullopt);
}

TEST(NameCache, NothingLoadedOrNothingStoredNamesEveryColourInvalid)
{
    NamesFolder names("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    const std::shared_ptr<const NameTable> held = cache.snapshot();
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    cache.freeNamesDatabase();
    EXPECT_FALSE(cache.isLoaded());
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "Invalid Color");
    EXPECT_EQ(cache.hexCodeForName(QStringLiteral("Red")), std::nullopt);
    EXPECT_EQ(cache.completions(QStringLiteral("Re")), QStringList());
    // A reader that took the table before the free still has it.
    EXPECT_EQ(held->closestColorNameToColor(rgb(250, 0, 0)), "Red");

    // A missing database loads as an empty table, and is not created.
    NameCache missing(names.dir.filePath(QStringLiteral("missing.db")));
    missing.cacheNamesDatabase();
    EXPECT_TRUE(missing.isLoaded());
    EXPECT_EQ(missing.closestColorNameToColor(rgb(255, 0, 0)), "Invalid Color");
    EXPECT_FALSE(QFile::exists(missing.databasePath()));

    cache.cacheNamesDatabase();
    EXPECT_EQ(cache.closestColorNameToColor(rgb(255, 0, 0)), "Red");
    EXPECT_EQ(changes.count(), 2);
}

TEST(NameCache, CompletionsIgnoreCaseAndAccentsAndAreSortedCaseInsensitively)
{
    NamesFolder names("name,hex\n"
                    "blue Jeans,#5dadec\n"
                    "Baby Blue,#a2cffe\n"
                    "Bleu Lumière,#5a6e9c\n"
                    "BLÚSH,#eeaaaa\n"
                    "Black,#000000\n"
                    "Éclair,#f0e0d0\n");
    EXPECT_EQ(names.cache.completions(QStringLiteral("blu")),
              (QStringList{"Baby Blue", "blue Jeans", "BLÚSH"}));
    EXPECT_EQ(names.cache.completions(QStringLiteral("LUMIE")), QStringList{"Bleu Lumière"});
    EXPECT_EQ(names.cache.completions(QStringLiteral("ecl")), QStringList{"Éclair"});
    // An accent typed matches the plain letter too.
    EXPECT_EQ(names.cache.completions(QStringLiteral("é")),
              (QStringList{"Baby Blue", "Bleu Lumière", "blue Jeans", "Éclair"}));
    EXPECT_EQ(names.cache.completions(QString()), QStringList());
    EXPECT_EQ(names.cache.completions(QStringLiteral("xyz")), QStringList());
}

// The index must give the linear scan's answer, equal distances included.
// Random colours meet ties often enough to tell a wrong tie rule over the
// whole shipped dataset, and nearly always over a coarse grid where every
// colour is three records (codes in other letter cases).
TEST(NameCache, TheIndexAnswersAsTheLinearScan)
{
    const QString shipped = NamesDatabase::shippedDatabasePath();
    ASSERT_FALSE(shipped.isEmpty()) << "ColorNames.db is made by the build (target names_database)";
    const QStringList shippedRows = storedRows(shipped);
    ASSERT_EQ(shippedRows.size(), 31918);
    EXPECT_EQ(shippedRows.first(), "0|100 Mph|c93f38|201|63|56|3|57|50");

    QByteArray csv = "name,hex\n";
    int n = 0;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) {
                const QByteArray code = HexCodec::storedForm(r, g, b).toLatin1();
                for (const QByteArray& variant : {code.toUpper(), code, "#" + code.toUpper()})
                    csv += "C" + QByteArray::number(n++) + "," + variant + "\n";
            }
    NamesFolder grid(csv);

    const struct { const char* what; std::shared_ptr<const NameTable> table; unsigned randomStart; int count; } rows[] = {
        {"shipped", NameTable::load(shipped), 5, 4000},
        {"grid of ties", grid.cache.snapshot(), 7, 3000},
    };
    for (const auto& row : rows) {
        std::mt19937 random(row.randomStart);
        std::uniform_int_distribution<int> component(0, 255);
        int differences = 0;
        for (int i = 0; i < row.count; ++i) {
            const NameValues target = NameValues::fromIntegers(component(random), component(random), component(random));
            const QString byIndex = row.table->closestColorName(target);
            const QString byScan = row.table->closestColorNameByScan(target);
            if (byIndex != byScan && ++differences <= 5)
                ADD_FAILURE() << row.what << " " << target.r << "," << target.g << "," << target.b << ": index "
                              << byIndex.toStdString() << ", scan " << byScan.toStdString();
        }
        EXPECT_EQ(differences, 0) << row.what;
    }
}

TEST(NameCache, LookupsOnAnotherThreadSurviveFreesAndReloads)
{
    NamesFolder names("name,hex\nRed,#ff0000\nBlue,#0000ff\n");
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
        while (!done) {
            const QString name = names.cache.closestColorNameToColor(rgb(250, 0, 0));
            if (name != "Red" && name != "Invalid Color")
                ++wrong;
        }
    });
    for (int i = 0; i < 200; ++i) {
        names.cache.freeNamesDatabase();
        names.cache.cacheNamesDatabase();
    }
    done = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
}

TEST(NameCacheInBackground, ALoadOnItsWayGivesWayToAFreeOrASynchronousLoad)
{
    NamesFolder names;
    names.build("name,hex\nRed,#ff0000\n");
    NameCache& cache = names.cache;
    QSignalSpy changes(&cache, &NameCache::cacheChanged);

    // Freed before its worker started.
    cache.cacheNamesDatabaseInBackground();
    cache.freeNamesDatabase();
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    settle(cache);
    EXPECT_FALSE(cache.isLoaded());
    EXPECT_EQ(changes.count(), 0);

    // Freed while its worker reads, and asked for again before that worker
    // is done: only the second load's table is taken.
    HeldWorker first;
    cache.cacheNamesDatabaseInBackground(first.step());
    ASSERT_TRUE(first.waitUntilStarted());
    cache.freeNamesDatabase();
    EXPECT_EQ(cache.closestColorNameToColor(red), "Invalid Color");
    names.build("name,hex\nScarlet,#ff0000\n");
    cache.cacheNamesDatabaseInBackground();
    first.resume.release();
    settle(cache);
    EXPECT_EQ(cache.closestColorNameToColor(red), "Scarlet");
    EXPECT_EQ(changes.count(), 1) << "the abandoned table was taken too";

    // Freed again, then loaded synchronously while a worker reads: the
    // synchronous load takes the place of the one on its way.
    cache.freeNamesDatabase();
    names.build("name,hex\nRed,#ff0000\n");
    changes.clear();
    HeldWorker worker;
    cache.cacheNamesDatabaseInBackground(worker.step());
    ASSERT_TRUE(worker.waitUntilStarted());
    cache.cacheNamesDatabase();
    EXPECT_TRUE(cache.isLoaded());
    EXPECT_FALSE(cache.isLoading());
    EXPECT_EQ(cache.closestColorNameToColor(red), "Red");
    EXPECT_EQ(changes.count(), 1);
    worker.resume.release();
    settle(cache);
    EXPECT_EQ(changes.count(), 1) << "the worker's table was taken after the synchronous one";
}

TEST(NamesDatabaseUpdater, ANewerReleaseIsDownloadedBuiltAndInstalled)
{
    Update u;
    QSignalSpy installed(u.updater.get(), &NamesDatabaseUpdater::databaseInstalled);
    EXPECT_EQ(u.updater->namesCount(), "2 unique color names");

    EXPECT_EQ(u.run(), Outcome::Installed);
    EXPECT_EQ(u.server.requests(), (QStringList{releasesPath, csvPath}));
    EXPECT_EQ(u.labels.mid(0, 3), (QStringList{"Checking Color Names version...", "Getting download information...",
                                               "Finished Downloading... 0.1KB"}));
    EXPECT_TRUE(u.labels.contains("Generating database..."));
    const QString updated = u.defaults.stringForKey(QStringLiteral("namesIDUpdatedDate"));
    EXPECT_TRUE(updated.startsWith("Last Updated: ") && updated.endsWith(" (added 1 new Colors)")) << updated.toStdString();
    EXPECT_EQ(u.updater->updatedLabel(), updated);

    EXPECT_EQ(u.defaults.integerForKey(QStringLiteral("namesID")), 7);
    EXPECT_EQ(u.defaults.stringForKey(QStringLiteral("namesVersion")), "v2.0");
    EXPECT_EQ(u.updater->namesCount(), "3 unique color names");
    EXPECT_EQ(u.cache.closestColorNameToColor(Color::fromIntegers(255, 0, 0)), "New Red");
    EXPECT_EQ(installed.count(), 1);
    u.expectIdleAndClean();
}

TEST(NamesDatabaseUpdater, TheInstalledReleaseIsCurrentUnlessTheTableIsEmpty)
{
    Update u(7);
    EXPECT_EQ(u.run(), Outcome::Current);
    EXPECT_EQ(u.updater->updatedLabel(), "Installed database is current...");
    EXPECT_EQ(u.server.requests(), QStringList{releasesPath});
    u.expectIdleAndClean();

    // An empty table takes the newest release again, whatever its id. The
    // CDN answers a release's name with a redirect to the file of that version.
    ASSERT_EQ(buildNames("name,hex\n", u.database.liveDatabasePath()).rows, 0);
    u.database.updateNamesCount();
    const QString moved = QStringLiteral("/color-name-list@2.0.0/dist/colornames.csv");
    u.server.setResponse(csvPath, {302, moved.toLatin1(), "text/plain", Mode::Redirect});
    u.server.setResponse(moved, {200, newCSV, "text/csv"});
    EXPECT_EQ(u.run(), Outcome::Installed);
    EXPECT_EQ(u.server.requests().last(), moved);
    EXPECT_EQ(storedRows(u.database.liveDatabasePath()).size(), 3);
}

TEST(NamesDatabaseUpdater, FailuresLeaveTheInstalledNamesAndReturnToIdle)
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QString refusing = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();

    const QByteArray big(5000, 'x');
    // An empty apiHost is the local server.
    const struct { const char* what; LocalHttpServer::Response releases, csv; QString apiHost; const char* label; } rows[] = {
        {"error object", {403, R"({"message": "API rate limit exceeded"})", "application/json"}, {}, {},
         "Version check failed...\nHTTP 403 Forbidden"},
        {"not JSON", {200, "<html>Service Unavailable</html>", "text/html"}, {}, {},
         "Version check failed...\nthe answer is not a list of releases"},
        {"no release", {200, "[]", "application/json"}, {}, {}, "Version check failed...\nno release to download"},
        {"refused connection", {}, {}, refusing, "Version check failed...\nConnection refused"},
        {"stalled CSV", {200, releases, "application/json"}, {200, newCSV, "text/csv", Mode::StallAfter, 10}, {},
         "Download failed...\ntimed out"},
        {"CSV not found", {200, releases, "application/json"}, {404, "Not found", "text/plain"}, {},
         "Download failed...\nHTTP 404 Not Found"},
        {"CSV past the size cap", {200, releases, "application/json"}, {200, big, "text/csv"}, {},
         "Download failed...\nlarger than 4 KB"},
        {"CSV past the size cap, size not given", {200, releases, "application/json"},
         {200, big, "text/csv", Mode::WithoutSize}, {}, "Download failed...\nlarger than 4 KB"},
        {"CSV without rows", {200, releases, "application/json"}, {200, "name,hex\n", "text/csv"}, {},
         "Parsing file failed..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Update u;
        u.server.setResponse(releasesPath, row.releases);
        u.server.setResponse(csvPath, row.csv);
        if (!row.apiHost.isEmpty())
            u.updater->setAPIHost(row.apiHost);
        u.updater->setMaximumDownloadSize(4000);
        LogLines qtWarnings("default");
        EXPECT_EQ(u.run(), Outcome::Failed);
        EXPECT_EQ(u.updater->updatedLabel(), QString::fromLatin1(row.label));
        EXPECT_EQ(qtWarnings.take().filter("QIODevice"), QStringList()) << "an aborted reply is not read";
        u.expectOldNamesKept();
        u.expectIdleAndClean();
    }
}

// Progress counts the bytes, against the announced size when there is one.
TEST(NamesDatabaseUpdater, ProgressCountsTheBytesOfTheAnnouncedSizeIfAny)
{
    const QByteArray csv = largeCSV(4000);
    Update unsized;
    unsized.server.setResponse(csvPath, {200, csv, "text/csv", Mode::WithoutSize});
    EXPECT_EQ(unsized.run(), Outcome::Installed);
    const QStringList progress = unsized.labels.filter(QStringLiteral("Downloading... "));
    EXPECT_FALSE(progress.isEmpty());
    for (const QString& label : progress)
        EXPECT_FALSE(label.contains(" of ")) << label.toStdString();
    EXPECT_EQ(storedRows(unsized.database.liveDatabasePath()).size(), 4000);

    // Half of it, then nothing until the transfer times out.
    Update sized;
    sized.server.setResponse(csvPath, {200, csv, "text/csv", Mode::StallAfter, 20000});
    EXPECT_EQ(sized.run(), Outcome::Failed);
    const QString half = QStringLiteral("Downloading... 20.0KB of %1KB").arg(QString::asprintf("%.1f", csv.size() / 1000.0));
    EXPECT_TRUE(sized.labels.contains(half)) << sized.labels.join(" / ").toStdString();
}

TEST(NamesDatabaseUpdater, CancellingKeepsTheInstalledNames)
{
    using State = NamesDatabaseUpdater::State;
    const struct { State state; LocalHttpServer::Response csv; const char* button; } rows[] = {
        // The server stalls; the cancel ends it.
        {State::Downloading, {200, largeCSV(4000), "text/csv", Mode::StallAfter, 20000}, "Cancel download..."},
        {State::Building, {200, largeCSV(300000), "text/csv"}, "Cancel database creation..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        Update u;
        u.updater->setTransferTimeout(30000);
        u.server.setResponse(csvPath, row.csv);
        QObject::connect(u.updater.get(), &NamesDatabaseUpdater::stateChanged, u.updater.get(), [&](State state) {
            if (state == row.state)
                QTimer::singleShot(0, u.updater.get(), [&] {
                    EXPECT_EQ(u.updater->buttonTitle(), row.button);
                    u.updater->pressButton();
                });
        });
        EXPECT_EQ(u.run(), Outcome::Cancelled);
        EXPECT_EQ(u.updater->updatedLabel(), "Download cancelled...");
        u.expectOldNamesKept();
        u.expectIdleAndClean();
    }
}
