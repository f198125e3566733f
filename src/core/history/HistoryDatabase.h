#pragma once

#include "HistoryEntry.h"
#include "HistoryStoreError.h"
#include "PaletteRecord.h"

#include "colour/Color.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <span>

// A new entry with every value computed, ready to be written.
class SqlDatabase;
class SqlResultSet;

struct NewHistoryItem
{
    QString day;        // day string (see DayFormat)
    QString name;
    QDateTime saved;
    QByteArray last;    // archived hex code
    QByteArray colors;  // archived list of hex codes
};

// The history file "Palettes.storedata": a SQLite database in WAL mode,
// schema version in PRAGMA user_version.
//
//   "Date"    (id, date TEXT UNIQUE)                 one row per day string
//   History   (id, date_id -> "Date", name, saved, last BLOB, colors BLOB)
//             saved: milliseconds since 1970 UTC; index (date_id, saved, id)
//   Palette   (id, name, color_1 .. color_8, color_last BLOB)   older palettes
//
// A "Date" row's items are the History rows pointing at it. Reads happen in
// the thread that opened the database; the store, its writer and the command
// line each open their own. WAL lets readers go on while the writer commits,
// and a commit is on disk before it is reported (synchronous=FULL), so a
// killed process loses nothing it reported saved.
class HistoryDatabase
{
public:
    enum class Access { ReadWrite, ReadOnly };

    HistoryDatabase();
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    static const QString fileName; // "Palettes.storedata"
    // The schema this build writes. A file of a later version is refused:
    // writing into a schema we don't know could damage it.
    static const int schemaVersion;

    // Opens the file, and when writable creates or upgrades the schema. A
    // read-only open of a file no writer has set up yet reads as empty.
    std::optional<HistoryStoreError> open(const QString& filePath, Access access);
    bool isOpen() const;
    void close();

    // Reads every page of the open file (PRAGMA quick_check): nothing when
    // it is sound, else what SQLite found.
    std::optional<HistoryStoreError> check();
    // An error that says the file itself is damaged (SQLITE_CORRUPT,
    // SQLITE_NOTADB), as opposed to one that says it cannot be reached.
    static bool isDamage(const HistoryStoreError& error);

    // Each read answers nothing when the query fails; lastError() says why.

    // Every day string, in descending string order.
    std::optional<QStringList> days();
    // A day's entries, newest first (latest `saved`, then latest recorded),
    // `offset` entries skipped and at most `limit` (all when negative).
    std::optional<QList<HistoryEntry>> entries(const QString& day, const ColorSpacePtr& wellSpace, int limit = -1,
                                               int offset = 0);
    // The whole log by day string, each list newest first.
    std::optional<QHash<QString, QList<HistoryEntry>>> allEntries(const ColorSpacePtr& wellSpace);
    std::optional<QList<PaletteRecord>> palettes();
    bool deletePalette(qint64 id);

    // Deletes every entry and every day in one transaction; on failure
    // nothing is deleted.
    bool deleteAll();

    // Records `items` in order in one transaction, each under the "Date" row
    // of its day string, created when the day has none yet. An item whose
    // day cannot be looked up is logged and left out; the others are still
    // written.
    struct SaveResult
    {
        enum class Outcome { Saved, ContextSaveFailed, ParentSaveFailed };
        Outcome outcome = Outcome::Saved;
        int added = 0; // items written (on Saved)
        std::optional<HistoryStoreError> error;
    };
    SaveResult insert(std::span<const NewHistoryItem> items);

    HistoryStoreError lastError() const { return failure; }

private:
    std::optional<HistoryStoreError> prepareSchema(Access access);
    enum class Step { Added, Skipped, Failed };
    Step insertOne(const NewHistoryItem& item);
    HistoryStoreError connectionError() const;
    // Keeps the error before anything else can replace it: that of `rows`
    // when its rows ended in one, the connection's when there are no rows
    // at all. True when there was an error to keep.
    bool noteFailure(const SqlResultSet* rows = nullptr);

    std::unique_ptr<SqlDatabase> connection;
    bool hasSchema = false;
    HistoryStoreError failure;
};
