#include "HistoryFixture.h"

#include "colour/ValueArchive.h"
#include "history/HistoryDatabase.h"

#include <sqlite3.h>

namespace {

const QDate day1(2026, 12, 5);
const QDate day2(2026, 12, 6);

} // namespace

using HistoryStoreTest = HistoryFixture;

// The first use makes the store, and the folders it lives in. Entries
// handed over just before the program ends are written all the same.
TEST_F(HistoryStoreTest, AMissingStoreIsMadeEmptyAndClosingWritesWhatWasHandedOver)
{
    QDir(home.dataHome()).removeRecursively();
    EXPECT_TRUE(store->getHistory().isEmpty());
    EXPECT_TRUE(store->isOpen());
    EXPECT_TRUE(store->dateManagedObjectArray().isEmpty());
    EXPECT_TRUE(store->historyForDateObjects("Dec 6, 2026").isEmpty());
    EXPECT_TRUE(store->palettesManagedObjectArray().isEmpty());
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
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].name, "name of ff0000");
    EXPECT_EQ(first[0].saved, QDateTime(day1, QTime(9, 0)));
    EXPECT_EQ(first[0].last, rgb(255, 0, 0));
    EXPECT_EQ(first[0].colors, (QList<Color> {rgb(255, 249, 190), rgb(154, 162, 248)}));

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
    EXPECT_EQ(reds(store->historyForDateObjects("Dec 6, 2026", 21)), all.mid(0, 21));
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
        {"empty values", QByteArray(), QByteArray(), rgb(0, 0, 0), {}},
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
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(store->filePath()).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, row.damage, nullptr, nullptr, nullptr), SQLITE_OK) << row.what;
        sqlite3_close(db);

        LogLines log;
        EXPECT_TRUE(row.outcome(*store)) << row.what;
        EXPECT_EQ(log.take(), row.lines) << row.what;
    }
}

TEST_F(HistoryStoreTest, PalettesOfTheOlderFormatAreRead)
{
    ASSERT_FALSE(store->open());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(store->filePath()).constData(), &db), SQLITE_OK);
    const QByteArray colour = ColorArchive::archive(rgb(1, 2, 3));
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Palette (name, color_2, color_last) VALUES ('Old', ?1, ?1)", -1, &insert, nullptr);
    sqlite3_bind_blob(insert, 1, colour.constData(), int(colour.size()), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
    sqlite3_close(db);

    const QList<PaletteRecord> palettes = store->palettesManagedObjectArray();
    ASSERT_EQ(palettes.size(), 1);
    EXPECT_EQ(palettes[0].name, "Old");
    EXPECT_TRUE(palettes[0].colors[0].isEmpty());
    EXPECT_EQ(palettes[0].colors[1], colour);
    EXPECT_EQ(palettes[0].color_last, colour);
}
