#include "DamagedDatabase.h"
#include "FileBytes.h"
#include "HistoryFixture.h"
#include "QtPrinters.h"

#include "colour/ValueArchive.h"
#include "history/DayFormat.h"
#include "history/HistoryDatabase.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>

namespace {

const QDate day1(2026, 12, 5);
const QDate day2(2026, 12, 6);

const char* const folderVariable = "HUELARK_HISTORY_BURST_FOLDER";
const char* const childTest = "HistoryCrashChild.DISABLED_RecordsUntilKilled";

QStringList column(sqlite3* db, const char* sql)
{
    QStringList values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return {QStringLiteral("cannot prepare: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(statement) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return values;
}

} // namespace

using HistoryStoreTest = HistoryFixture;

// The first use makes the store, and the folders it lives in. Entries
// handed over just before the program ends are written all the same.
TEST_F(HistoryStoreTest, AMissingStoreIsMadeEmptyAndClosingWritesWhatWasHandedOver)
{
    QDir(home.dataHome()).removeRecursively();
    EXPECT_TRUE(store->getHistory().isEmpty());
    EXPECT_TRUE(store->isOpen());
    EXPECT_TRUE(QFile::exists(folder() + "/Palettes.storedata"));

    for (int i = 0; i < 5; ++i)
        store->saveHistoryItem(rgb(i, i, i));
    store.reset();
    store = makeStore();
    EXPECT_EQ(store->historyForDateObjects("Dec 6, 2026").size(), 5);
}

TEST_F(HistoryStoreTest, EntriesAreFiledByDayNewestFirstWithTheirValues)
{
    QSignalSpy saved(store.get(), &HistoryStore::historyItemSaved);
    setSwatches({rgb(255, 249, 190), rgb(154, 162, 248)});

    record(rgb(255, 0, 0), QDateTime(day1, QTime(9, 0)));
    setSwatches({rgb(1, 2, 3)});
    record(rgb(0, 255, 0), QDateTime(day2, QTime(8, 0)));
    // The same colour twice gives two entries; the later one is listed first.
    record(rgb(0, 0, 255), QDateTime(day2, QTime(10, 30)));
    record(rgb(0, 0, 255), QDateTime(day2, QTime(10, 31)));
    // Day strings are keys: an entry recorded under another locale stays
    // under that locale's string, listed after every date.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    record(rgb(1, 1, 1), QDateTime(day2, QTime(11, 0)));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    EXPECT_EQ(store->dateManagedObjectArray(), (QStringList {"Dec 6, 2026", "Dec 5, 2026", "6. Dez. 2026"}));
    EXPECT_EQ(store->historyForDateObjects("6. Dez. 2026").size(), 1);

    const QList<HistoryEntry> first = store->historyForDateObjects("Dec 5, 2026");
    ASSERT_EQ(first, (QList<HistoryEntry> {{"name of ff0000", QDateTime(day1, QTime(9, 0)), rgb(255, 0, 0),
                                            {rgb(255, 249, 190), rgb(154, 162, 248)}}}));

    const QList<HistoryEntry> second = store->historyForDateObjects("Dec 6, 2026");
    ASSERT_EQ(second.size(), 3);
    EXPECT_EQ(second[0].saved.time(), QTime(10, 31));
    EXPECT_EQ(second[1].saved.time(), QTime(10, 30));
    EXPECT_EQ(second[0].last, second[1].last);
    EXPECT_EQ(second[2].last, rgb(0, 255, 0));
    EXPECT_EQ(second[2].colors, QList<Color> {rgb(1, 2, 3)});

    // getHistory gives the same lists by day, and a new store on the same
    // file reads them back unchanged.
    const QHash<QString, QList<HistoryEntry>> all = store->getHistory();
    EXPECT_EQ(all.size(), 3);
    EXPECT_EQ(all.value("Dec 5, 2026"), first);
    EXPECT_EQ(all.value("Dec 6, 2026"), second);
    store.reset();
    store = makeStore();
    EXPECT_EQ(store->getHistory(), all);

    // Each entry was announced once it was written, in recording order.
    ASSERT_EQ(saved.size(), 5);
    EXPECT_EQ(saved[0][0].toString(), "Dec 5, 2026");
    EXPECT_EQ(saved[0][1].value<HistoryEntry>(), first[0]);
    EXPECT_EQ(saved[3][1].value<HistoryEntry>(), second[0]);
}

// The menu loads today's first twenty and the rest only when asked.
TEST_F(HistoryStoreTest, DayQueriesPageFromTheNewest)
{
    // Five entries share one millisecond: the one recorded later counts as newer.
    for (int i = 0; i < 25; ++i)
        record(rgb(i, 0, 0), QDateTime(day2, QTime(12, 0)).addSecs(i < 20 ? i : 20));

    const auto reds = [](const QList<HistoryEntry>& entries) {
        QList<int> list;
        for (const HistoryEntry& e : entries)
            list << e.last.integerComponents()[0];
        return list;
    };
    const QList<int> all = reds(store->historyForDateObjects("Dec 6, 2026"));
    ASSERT_EQ(all.size(), 25);
    EXPECT_EQ(all.mid(0, 6), (QList<int> {24, 23, 22, 21, 20, 19}));
    EXPECT_EQ(reds(store->historyForDateObjects("Dec 6, 2026", 20)), all.mid(0, 20));
    EXPECT_EQ(reds(store->historyForDateObjects("Dec 6, 2026", -1, 20)), all.mid(20));
    EXPECT_TRUE(store->historyForDateObjects("Dec 6, 2026", 10, 25).isEmpty());
}

TEST_F(HistoryStoreTest, ClearingRemovesEverythingAndTheNextEntryMakesANewDay)
{
    record(rgb(10, 20, 30), QDateTime(day1, QTime(9, 0)));
    record(rgb(10, 20, 30), QDateTime(day2, QTime(9, 0)));
    // Handed to the writer but maybe not written yet: cleared all the same.
    clock = QDateTime(day2, QTime(9, 5));
    store->saveHistoryItem(rgb(40, 50, 60));
    store->deleteAllHistory();

    EXPECT_TRUE(store->getHistory().isEmpty());
    EXPECT_TRUE(store->dateManagedObjectArray().isEmpty());

    record(rgb(70, 80, 90), QDateTime(day2, QTime(9, 10)));
    EXPECT_EQ(store->dateManagedObjectArray(), QStringList {"Dec 6, 2026"});
    ASSERT_EQ(store->historyForDateObjects("Dec 6, 2026").size(), 1);
    EXPECT_EQ(store->historyForDateObjects("Dec 6, 2026")[0].last, rgb(70, 80, 90));
}

// The swatch codes an entry stores: what the column shows, in its order.
TEST_F(HistoryStoreTest, SwatchCodesFollowTheColumn)
{
    const struct { const char* what; QVariantList currentColors; QStringList codes; } rows[] = {
        {"no key", {}, {}},
        {"two colours", {ColorArchive::archive(rgb(255, 249, 190)), ColorArchive::archive(rgb(0, 0, 0))},
         {"fff9be", "000000"}},
        // Unreadable data shows as the column's fallback colour (45, 52, 65).
        {"unreadable element", {QByteArray("junk"), ColorArchive::archive(rgb(9, 9, 9)), QString("text")},
         {"2d3441", "090909", "2d3441"}},
    };
    for (const auto& row : rows) {
        defaults->setArray(row.currentColors, "currentColors");
        EXPECT_EQ(ValueArchive::unarchiveList(store->getCurrentSwatchesAndConvertToHexDataArray()),
                  QVariant(row.codes).toList())
            << row.what;
    }
}

// Values another writer (an older or later build) left behind: an entry is
// listed whatever its archives hold.
TEST_F(HistoryStoreTest, StoredValuesReadWithTheirFallbacks)
{
    const struct {
        const char* what;
        QByteArray last, colors;
        Color expectedLast;
        QList<Color> expectedColors;
    } rows[] = {
        {"a non-string element is skipped",
         ValueArchive::archiveString("ff0000"),
         ValueArchive::archiveList({QString("00ff00"), QByteArray("\x01\x02", 2), QString("0000ff")}),
         rgb(255, 0, 0), {rgb(0, 255, 0), rgb(0, 0, 255)}},
        {"unreadable last reads black", QByteArray("nonsense"), ValueArchive::archiveStringList({"ffffff"}),
         rgb(0, 0, 0), {rgb(255, 255, 255)}},
        {"unreadable colors read as none", ValueArchive::archiveString("abcdef"), QByteArray("HLL1"),
         rgb(171, 205, 239), {}},
    };
    ASSERT_FALSE(store->open());
    HistoryDatabase other;
    ASSERT_FALSE(other.open(store->filePath(), HistoryDatabase::Access::ReadWrite));
    for (const auto& row : rows) {
        store->deleteAllHistory();
        const NewHistoryItem item {"Dec 6, 2026", "entry", clock, row.last, row.colors};
        ASSERT_EQ(other.insert({&item, 1}).added, 1) << row.what;
        const QList<HistoryEntry> entries = store->historyForDateObjects("Dec 6, 2026");
        ASSERT_EQ(entries.size(), 1) << row.what;
        EXPECT_EQ(entries[0].last, row.expectedLast) << row.what;
        EXPECT_EQ(entries[0].colors, row.expectedColors) << row.what;
    }
}

// Failures as the log shows them, provoked by another connection taking a
// table away: a read answers empty, an entry that cannot be written is left
// out whole (its new day too), a clearing that fails deletes nothing, and
// the store goes on.
TEST_F(HistoryStoreTest, FailuresAreLoggedAndLeaveTheStoreWhole)
{
    const QString noHistory = R"(Error Domain=SQLite Code=1 "no such table: History")";
    const QString noDate = R"(Error Domain=SQLite Code=1 "no such table: Date")";
    const QStringList existingDay {"Dec 6, 2026"};
    const auto recordOnANewDay = [this](HistoryStore& s) {
        QSignalSpy saved(&s, &HistoryStore::historyItemSaved);
        record(rgb(4, 5, 6), QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
        return saved.isEmpty();
    };
    const struct {
        const char* what;
        const char* damage;
        std::function<bool(HistoryStore&)> outcome; // true when right
        QStringList lines;
    } rows[] = {
        {"a day's entries", "DROP TABLE History",
         [](HistoryStore& s) { return s.historyForDateObjects("Dec 6, 2026").isEmpty(); },
         {"Unable to execute fetch request.", noHistory + ", no such table: History"}},
        {"the whole log", "DROP TABLE History", [](HistoryStore& s) { return s.getHistory().isEmpty(); },
         {"Unable to execute fetch request.", noHistory + ", no such table: History"}},
        {"the days", R"(DROP TABLE "Date")", [](HistoryStore& s) { return s.dateManagedObjectArray().isEmpty(); },
         {"Unable to execute fetch request.", noDate + ", no such table: Date"}},
        {"an entry whose day cannot be looked up", R"(DROP TABLE "Date")", recordOnANewDay,
         {"Unable to execute fetch request.", noDate + ", no such table: Date"}},
        {"an entry that cannot be written",  "DROP TABLE History",
         [&](HistoryStore& s) { return recordOnANewDay(s) && s.dateManagedObjectArray() == existingDay; },
         {"Could not save context: " + noHistory}},
        {"clearing", "DROP TABLE History",
         [&](HistoryStore& s) {
             s.deleteAllHistory();
             return s.dateManagedObjectArray() == existingDay;
         },
         {"CoreData error: " + noHistory + R"(, {description = "no such table: History"})"}},
    };
    for (const auto& row : rows) {
        store.reset();
        QDir(folder()).removeRecursively();
        store = makeStore();
        record(rgb(1, 2, 3), QDateTime(day2, QTime(9, 0)));
        EXPECT_TRUE(runSql(store->filePath(), row.damage)) << row.what;

        LogLines log;
        EXPECT_TRUE(row.outcome(*store)) << row.what;
        EXPECT_EQ(log.take(), row.lines) << row.what;
    }
}

TEST_F(HistoryStoreTest, PalettesOfTheOlderFormatAreRead)
{
    ASSERT_FALSE(store->open());
    const QByteArray colour = ColorArchive::archive(rgb(1, 2, 3));
    ASSERT_TRUE(runSql(store->filePath(), "INSERT INTO Palette (name, color_2, color_last) VALUES ('Old', ?1, ?1)", {colour}));

    EXPECT_EQ(store->palettesManagedObjectArray(), (QList<PaletteRecord> {{1, "Old", {QByteArray(), colour}, colour}}));
}

// A file where the support folder should be is the one failure with a reason
// of its own; the error is what the user is shown before the program ends.
TEST_F(HistoryStoreTest, AFileInPlaceOfTheFolderIsFatal)
{
    ASSERT_TRUE(put(folder(), "not a folder"));
    QSignalSpy failed(store.get(), &HistoryStore::openFailed);
    LogLines log;

    const std::optional<HistoryStoreError> error = store->open();
    ASSERT_TRUE(error);
    EXPECT_FALSE(store->isOpen());
    EXPECT_EQ(log.take(), QStringList {QString(R"(Unresolved error Error Domain=YOUR_ERROR_DOMAIN Code=9999 )"
                                               R"("Failed to initialize the application's saved data", )"
                                               R"({description = "Failed to initialize the application's saved data"; )"
                                               R"(reason = "Expected a folder to store application data, found a )"
                                               R"(file (%1)."})")
                                           .arg(folder())});

    // Later calls do nothing and report nothing new; the file is untouched.
    store->saveHistoryItem(rgb(1, 2, 3));
    store->deleteAllHistory();
    EXPECT_TRUE(store->getHistory().isEmpty());
    EXPECT_EQ(store->open(), error);
    EXPECT_EQ(failed.size(), 1);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(contents(folder()), "not a folder");
}

TEST_F(HistoryStoreTest, AStoreThatCannotBeLoadedIsFatalWithTheGenericReason)
{
    const struct { const char* what; std::function<void(const QString& file)> prepare; } rows[] = {
        {"written by a later version", [](const QString& file) { ASSERT_TRUE(runSql(file, "PRAGMA user_version = 99")); }},
        {"a folder where the file should be", [](const QString& file) { QDir().mkpath(file); }},
    };
    for (const auto& row : rows) {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        const QString file = folder() + "/Palettes.storedata";
        row.prepare(file);
        const QByteArray before = contents(file);
        store = makeStore();

        const std::optional<HistoryStoreError> error = store->open();
        ASSERT_TRUE(error) << row.what;
        EXPECT_EQ(contents(file), before) << row.what << ": not even its journal mode changes";
        EXPECT_EQ(error->localizedFailureReason,
                  "There was an error creating or loading the application's saved data.")
            << row.what;
        EXPECT_TRUE(error->underlyingError) << row.what;
    }
}

// A store damaged inside would leave history silently dead: it is found at
// the start, moved aside (never deleted), and a fresh store takes its
// place; the store says where the old one went.
TEST_F(HistoryStoreTest, ADamagedStoreIsMovedAsideForAFreshOne)
{
    const QString file = folder() + "/Palettes.storedata";
    const QString moved = folder() + "/Palettes-damaged-2026-12-06-140305.storedata";
    const struct { const char* what; std::function<void()> damage; const char* problem; } rows[] = {
        {"damaged in the middle", [&] { writeDamagedHistoryStore(file); }, "database disk image is malformed"},
        {"not a database", [&] { ASSERT_TRUE(put(file, QByteArray(8192, 'x'))); }, "file is not a database"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        store.reset();
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        row.damage();
        const QByteArray damaged = contents(file);

        store = makeStore();
        LogLines log;
        ASSERT_EQ(store->open(), std::nullopt);
        ASSERT_TRUE(store->recovery());
        EXPECT_EQ(store->recovery()->filePath, file);
        EXPECT_EQ(store->recovery()->movedTo, moved);
        EXPECT_EQ(store->recovery()->damage.localizedDescription, row.problem);
        EXPECT_EQ(log.take(), QStringList {QString("The history store %1 is damaged (%2); it was moved to %3 and a "
                                                   "new one started.")
                                               .arg(file, row.problem, moved)});
        EXPECT_EQ(contents(moved), damaged);

        // The fresh store starts empty and records.
        EXPECT_TRUE(store->getHistory().isEmpty());
        record(rgb(1, 2, 3), clock);
        EXPECT_EQ(store->dateManagedObjectArray().size(), 1);
    }
}

TEST(DayFormat, MediumDateOfSeveralLocales)
{
    const struct { const char* locale; const char* pattern; const char* day; } rows[] = {
        {"en_US", "MMM d, yyyy", "Dec 6, 2026"},
        {"de_DE", "d. MMM yyyy", "6. Dez. 2026"},
        {"es_ES", "d 'de' MMM 'de' yyyy", "6 de dic de 2026"},
        {"ja_JP", "yyyy年M月d日", "2026年12月6日"},
        {"hu_HU", "yyyy. MMM d.", "2026. dec. 6."},
    };
    for (const auto& row : rows) {
        const QLocale locale(QString::fromLatin1(row.locale));
        EXPECT_EQ(DayFormat::mediumFormat(locale), QString::fromUtf8(row.pattern)) << row.locale;
        EXPECT_EQ(DayFormat::dayString(day2, locale), QString::fromUtf8(row.day)) << row.locale;
    }
}

// The menu orders days by reading their strings back: every day of a year
// must come back as itself, whatever the locale's script or digits.
TEST(DayFormat, EveryDayReadsBackInItsLocale)
{
    for (const char* name : {"en_US", "en_GB", "de_DE", "fr_FR", "es_ES", "ja_JP", "zh_CN", "ru_RU", "ar_EG",
                             "ko_KR", "fi_FI", "hu_HU", "he_IL", "th_TH", "fa_IR", "C"}) {
        const QLocale locale(QString::fromLatin1(name));
        int failures = 0;
        for (QDate date(2026, 1, 1); date.year() == 2026 && failures < 3; date = date.addDays(1)) {
            const QString day = DayFormat::dayString(date, locale);
            if (DayFormat::dateFromDayString(day, locale) != date) {
                ++failures;
                ADD_FAILURE() << name << ": \"" << day.toStdString() << "\" does not read back as "
                              << date.toString(Qt::ISODate).toStdString();
            }
        }
    }
}

TEST(DayFormat, SortsLaterDatesFirstAndForeignStringsLast)
{
    const QLocale english("en_US");
    const QStringList days = {"Jan 2, 2026", "6. Dez. 2026", "Dec 6, 2026", "Feb 1, 2025", "Mar 10, 2026",
                              "2026年12月6日"};
    // Plain string order would put "Mar" before "Jan" and "Feb" 2025 first;
    // strings of other locales keep a fixed place after every date.
    const QStringList expected = {"Dec 6, 2026", "Mar 10, 2026", "Jan 2, 2026", "Feb 1, 2025", "6. Dez. 2026",
                                  "2026年12月6日"};
    EXPECT_EQ(DayFormat::sortedNewestFirst(days, english), expected);
}

// Crash safety: a child process records entries as fast as the writer
// commits them and prints each one the store reports saved; the parent kills
// it with SIGKILL in the middle of the burst, then checks that the file is
// intact and that every entry reported saved is in it.

// The child half, run only by the test below (in a process of its own).
TEST(HistoryCrashChild, DISABLED_RecordsUntilKilled)
{
    const QString folder = qEnvironmentVariable(folderVariable);
    ASSERT_FALSE(folder.isEmpty());
    std::printf("home %s\n", qgetenv("HOME").constData());
    std::fflush(stdout);

    // A store as the program makes one, each entry named by its code.
    // Entries made across midnight would land on two days: the clock is fixed.
    HistoryStore::Options options;
    options.folder = folder;
    options.closestColorName = [](const Color& color) {
        return HexCodec::hexCodeForColor(color, ColorSpace::sRGB()).value_or(QString());
    };
    options.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 3, 5)); };
    UserDefaults defaults(folder + "/Huelark.conf");
    const ColorSpaceRegistry spaces(QStringList {});
    HistoryStore store(defaults, spaces, options);
    ASSERT_FALSE(store.open());

    // Keep a few entries queued so that the writer is always busy: the kill
    // lands in a transaction or a commit, not in a pause between them.
    int next = 0;
    auto recordOne = [&] {
        ++next;
        store.saveHistoryItem(Color::fromIntegersSingle(next & 0xff, (next >> 8) & 0xff, (next >> 16) & 0xff));
    };
    QEventLoop loop;
    QObject::connect(&store, &HistoryStore::historyItemSaved, &loop, [&](const QString&, const HistoryEntry& entry) {
        std::printf("saved %s\n", qPrintable(entry.name));
        std::fflush(stdout);
        if (next < 100000)
            recordOne();
        else
            loop.quit();
    });
    for (int i = 0; i < 8; ++i)
        recordOne();
    // Never reached in the parent's test unless it stops reading for a minute.
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST_F(HistoryStoreTest, EntriesReportedSavedSurviveAKill)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(folderVariable, folder());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + childTest, "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(child.waitForStarted());

    QSet<QString> reported;
    QString childHome;
    auto readLines = [&] {
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).trimmed();
            if (line.startsWith("saved "))
                reported.insert(line.mid(6));
            else if (line.startsWith("home "))
                childHome = line.mid(5);
        }
    };
    while (reported.size() < 60 && child.state() == QProcess::Running) {
        child.waitForReadyRead(1000);
        readLines();
    }
    ASSERT_EQ(child.state(), QProcess::Running) << "the child ended before it was killed";
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    readLines();
    // The child had no chance to remove its own throw-away home.
    if (!childHome.isEmpty() && childHome.startsWith(QDir::tempPath() + '/'))
        QDir(childHome).removeRecursively();
    ASSERT_GE(reported.size(), 60);

    // The file as the killed process left it (the WAL not yet checkpointed):
    // sound, and every row in its place.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(store->filePath()).constData(), &db), SQLITE_OK);
    EXPECT_EQ(column(db, "PRAGMA integrity_check"), QStringList {"ok"});
    EXPECT_EQ(column(db, "PRAGMA foreign_key_check"), QStringList {});
    EXPECT_EQ(column(db, "SELECT count(*) FROM History WHERE date_id NOT IN (SELECT id FROM \"Date\")"),
              QStringList {"0"});
    EXPECT_EQ(column(db, "SELECT count(*) FROM \"Date\" GROUP BY date HAVING count(*) > 1"), QStringList {});
    sqlite3_close(db);

    // Reopened by the program, every entry reported saved is there, and
    // recording goes on.
    ASSERT_FALSE(store->open());
    QSet<QString> stored;
    for (const QList<HistoryEntry>& day : store->getHistory())
        for (const HistoryEntry& entry : day)
            stored.insert(entry.name);
    for (const QString& name : reported)
        EXPECT_TRUE(stored.contains(name)) << "reported saved but lost: " << name.toStdString();
    EXPECT_GE(stored.size(), reported.size());

    record(rgb(1, 2, 3), clock);
    int total = 0;
    for (const QList<HistoryEntry>& day : store->getHistory())
        total += int(day.size());
    EXPECT_EQ(total, stored.size() + 1);
}
