#include "HistoryDatabase.h"

#include "HistoryLog.h"

#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlResultSet.h"

#include <sqlite3.h>

namespace {

// Schema steps: step i brings a file from version i to version i + 1. A
// later release appends a step; it runs once, in the same transaction that
// records the new version.
const char* const migrations[] = {
    R"sql(
    CREATE TABLE "Date" (
        id   INTEGER PRIMARY KEY,
        date TEXT NOT NULL UNIQUE
    );
    CREATE TABLE History (
        id      INTEGER PRIMARY KEY,
        date_id INTEGER NOT NULL REFERENCES "Date"(id),
        name    TEXT NOT NULL,
        saved   INTEGER NOT NULL,
        last    BLOB,
        colors  BLOB
    );
    CREATE INDEX History_by_day ON History(date_id, saved DESC, id DESC);
    CREATE TABLE Palette (
        id INTEGER PRIMARY KEY,
        name TEXT,
        color_1 BLOB, color_2 BLOB, color_3 BLOB, color_4 BLOB,
        color_5 BLOB, color_6 BLOB, color_7 BLOB, color_8 BLOB,
        color_last BLOB
    );
    )sql",
};

QDateTime savedFromStored(qint64 milliseconds)
{
    return QDateTime::fromMSecsSinceEpoch(milliseconds);
}

} // namespace

const QString HistoryDatabase::fileName = QStringLiteral("Palettes.storedata");
const int HistoryDatabase::schemaVersion = int(std::size(migrations));

HistoryDatabase::HistoryDatabase() = default;
HistoryDatabase::~HistoryDatabase() = default;

bool HistoryDatabase::isOpen() const
{
    return connection && connection->isOpen();
}

void HistoryDatabase::close()
{
    connection.reset();
    hasSchema = false;
}

HistoryStoreError HistoryDatabase::connectionError() const
{
    if (!connection)
        return HistoryStoreError::sqlite(SQLITE_MISUSE, QStringLiteral("the history store is not open"));
    return HistoryStoreError::sqlite(connection->lastExtendedErrorCode(), connection->lastErrorMessage());
}

bool HistoryDatabase::noteFailure(const SqlResultSet* rows)
{
    if (rows && rows->failed()) {
        failure = HistoryStoreError::sqlite(rows->errorCode(), rows->errorMessage());
        return true;
    }
    if (rows)
        return false;
    failure = connectionError();
    return true;
}

std::optional<HistoryStoreError> HistoryDatabase::open(const QString& filePath, Access access)
{
    close();
    connection = SqlDatabase::databaseWithPath(filePath);
    if (!connection)
        return HistoryStoreError::sqlite(SQLITE_MISUSE, QStringLiteral("SQLite is not built thread-safe"));
    // The store reports its failures itself, in its own words.
    connection->logsErrors = false;
    // Each connection stays on the thread that opened it.
    const int flags = (access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
        | SQLITE_OPEN_NOMUTEX;
    auto fail = [this] {
        const HistoryStoreError error = connectionError();
        close();
        return error;
    };
    if (!connection->openWithFlags(flags))
        return fail();
    if (access == Access::ReadWrite) {
        // A store of a later version is refused before anything is written
        // into it, its journal mode included: that version may not want it.
        if (std::optional<HistoryStoreError> error = prepareSchema(Access::ReadOnly)) {
            close();
            return error;
        }
        // WAL: the command line and the menu read while the writer commits.
        // FULL: a commit is on disk before we report it saved.
        const std::unique_ptr<SqlResultSet> mode = connection->executeQuery(QStringLiteral("PRAGMA journal_mode = WAL"));
        if (!mode || !mode->next()
            || mode->stringForColumnIndex(0).value_or(QString()).compare(u"wal", Qt::CaseInsensitive) != 0)
            return fail();
        mode->close();
        if (!connection->executeStatements(QStringLiteral("PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON")))
            return fail();
    }
    if (std::optional<HistoryStoreError> error = prepareSchema(access)) {
        close();
        return error;
    }
    return std::nullopt;
}

std::optional<HistoryStoreError> HistoryDatabase::check()
{
    if (!isOpen())
        return connectionError();
    const std::unique_ptr<SqlResultSet> rows = connection->executeQuery(QStringLiteral("PRAGMA quick_check"));
    QStringList problems;
    while (rows && rows->next())
        problems << rows->stringForColumnIndex(0).value_or(QString());
    if (noteFailure(rows.get()))
        return failure;
    if (problems == QStringList {QStringLiteral("ok")})
        return std::nullopt;
    return HistoryStoreError::sqlite(SQLITE_CORRUPT, problems.join(u'\n'));
}

bool HistoryDatabase::isDamage(const HistoryStoreError& error)
{
    if (error.domain != QStringLiteral("SQLite"))
        return false;
    const int primary = error.code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::optional<HistoryStoreError> HistoryDatabase::prepareSchema(Access access)
{
    auto readVersion = [this]() -> std::optional<int> {
        const std::unique_ptr<SqlResultSet> version = connection->executeQuery(QStringLiteral("PRAGMA user_version"));
        if (!version || !version->next()) {
            noteFailure(version.get());
            return std::nullopt;
        }
        return version->intForColumnIndex(0);
    };
    auto tooNew = [](int version) {
        return HistoryStoreError::sqlite(
            0, QStringLiteral("the history store has schema version %1; this version of Huelark reads up to %2")
                   .arg(version)
                   .arg(schemaVersion));
    };

    std::optional<int> version = readVersion();
    if (!version)
        return failure;
    if (*version > schemaVersion)
        return tooNew(*version);
    if (*version == schemaVersion || access == Access::ReadOnly) {
        // A read-only reader of a file that is not set up yet sees it empty;
        // an older schema it cannot upgrade is read as far as it goes.
        hasSchema = *version > 0;
        return std::nullopt;
    }

    // Another process may be upgrading at the same moment: take the write
    // lock first and look again.
    if (!connection->executeStatements(QStringLiteral("BEGIN IMMEDIATE")))
        return connectionError();
    version = readVersion();
    if (!version || *version > schemaVersion) {
        const HistoryStoreError error = version ? tooNew(*version) : failure;
        connection->executeStatements(QStringLiteral("ROLLBACK"));
        return error;
    }
    for (int step = *version; step < schemaVersion; ++step) {
        if (!connection->executeStatements(QString::fromUtf8(migrations[step]))) {
            const HistoryStoreError error = connectionError();
            connection->executeStatements(QStringLiteral("ROLLBACK"));
            return error;
        }
    }
    if (!connection->executeStatements(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion))
        || !connection->executeStatements(QStringLiteral("COMMIT"))) {
        noteFailure();
        connection->executeStatements(QStringLiteral("ROLLBACK"));
        return failure;
    }
    hasSchema = true;
    return std::nullopt;
}

std::optional<QStringList> HistoryDatabase::days()
{
    QStringList days;
    if (!hasSchema)
        return days;
    const std::unique_ptr<SqlResultSet> rows =
        connection->executeQuery(QStringLiteral(R"sql(SELECT date FROM "Date" ORDER BY date DESC)sql"));
    while (rows && rows->next())
        days << rows->stringForColumnIndex(0).value_or(QString());
    if (noteFailure(rows.get()))
        return std::nullopt;
    return days;
}

std::optional<QList<HistoryEntry>> HistoryDatabase::entries(const QString& day, const ColorSpacePtr& wellSpace,
                                                            int limit, int offset)
{
    QList<HistoryEntry> list;
    if (!hasSchema)
        return list;
    const std::unique_ptr<SqlResultSet> rows = connection->executeQuery(QStringLiteral(R"sql(
        SELECT h.name, h.saved, h.last, h.colors
        FROM "Date" d JOIN History h ON h.date_id = d.id
        WHERE d.date = ?1
        ORDER BY h.saved DESC, h.id DESC
        LIMIT ?2 OFFSET ?3)sql"),
        {day, qint64(limit < 0 ? -1 : limit), qint64(qMax(offset, 0))});
    while (rows && rows->next()) {
        list.append(HistoryEntry::fromArchives(rows->stringForColumnIndex(0).value_or(QString()),
                                               savedFromStored(rows->longLongIntForColumnIndex(1)),
                                               rows->dataForColumnIndex(2), rows->dataForColumnIndex(3), wellSpace));
    }
    if (noteFailure(rows.get()))
        return std::nullopt;
    return list;
}

std::optional<QHash<QString, QList<HistoryEntry>>> HistoryDatabase::allEntries(const ColorSpacePtr& wellSpace)
{
    QHash<QString, QList<HistoryEntry>> all;
    if (!hasSchema)
        return all;
    const std::unique_ptr<SqlResultSet> rows = connection->executeQuery(QStringLiteral(R"sql(
        SELECT d.date, h.name, h.saved, h.last, h.colors
        FROM "Date" d JOIN History h ON h.date_id = d.id
        ORDER BY h.date_id, h.saved DESC, h.id DESC)sql"));
    QString day;
    QList<HistoryEntry>* list = nullptr;
    while (rows && rows->next()) {
        const QString rowDay = rows->stringForColumnIndex(0).value_or(QString());
        if (!list || rowDay != day) {
            day = rowDay;
            list = &all[day];
        }
        list->append(HistoryEntry::fromArchives(rows->stringForColumnIndex(1).value_or(QString()),
                                                savedFromStored(rows->longLongIntForColumnIndex(2)),
                                                rows->dataForColumnIndex(3), rows->dataForColumnIndex(4), wellSpace));
    }
    if (noteFailure(rows.get()))
        return std::nullopt;
    return all;
}

std::optional<QList<PaletteRecord>> HistoryDatabase::palettes()
{
    QList<PaletteRecord> list;
    if (!hasSchema)
        return list;
    const std::unique_ptr<SqlResultSet> rows = connection->executeQuery(QStringLiteral(
        "SELECT name, color_1, color_2, color_3, color_4, color_5, color_6, color_7, color_8, color_last, id "
        "FROM Palette ORDER BY id"));
    while (rows && rows->next()) {
        PaletteRecord record;
        record.name = rows->stringForColumnIndex(0).value_or(QString());
        for (int i = 0; i < 8; ++i)
            record.colors[i] = rows->dataForColumnIndex(1 + i);
        record.color_last = rows->dataForColumnIndex(9);
        record.id = rows->longLongIntForColumnIndex(10);
        list.append(record);
    }
    if (noteFailure(rows.get()))
        return std::nullopt;
    return list;
}

bool HistoryDatabase::deletePalette(qint64 id)
{
    if (!hasSchema)
        return isOpen();
    if (connection->executeUpdate(QStringLiteral("DELETE FROM Palette WHERE id = ?1"), {id}))
        return true;
    noteFailure();
    return false;
}

bool HistoryDatabase::deleteAll()
{
    if (!hasSchema)
        return isOpen();
    if (connection->executeStatements(
            QStringLiteral(R"sql(BEGIN IMMEDIATE; DELETE FROM History; DELETE FROM "Date"; COMMIT)sql")))
        return true;
    noteFailure();
    connection->executeStatements(QStringLiteral("ROLLBACK"));
    return false;
}

HistoryDatabase::Step HistoryDatabase::insertOne(const NewHistoryItem& item)
{
    // The day is looked up by equality and created only when missing: one
    // "Date" row per day string.
    std::optional<qint64> day;
    {
        const std::unique_ptr<SqlResultSet> lookup =
            connection->executeQuery(QStringLiteral(R"sql(SELECT id FROM "Date" WHERE date = ?1)sql"), {item.day});
        if (lookup && lookup->next())
            day = lookup->longLongIntForColumnIndex(0);
        if (noteFailure(lookup.get())) {
            HistoryLog::fetchFailure(failure);
            return Step::Skipped;
        }
    }
    if (!day) {
        if (!connection->executeUpdate(QStringLiteral(R"sql(INSERT INTO "Date" (date) VALUES (?1))sql"), {item.day})) {
            noteFailure();
            return Step::Failed;
        }
        day = connection->lastInsertRowId();
    }
    // An empty QByteArray binds as an empty blob, not NULL: "" is a value.
    if (!connection->executeUpdate(
            QStringLiteral("INSERT INTO History (date_id, name, saved, last, colors) VALUES (?1, ?2, ?3, ?4, ?5)"),
            {*day, item.name, qint64(item.saved.toMSecsSinceEpoch()), item.last, item.colors})) {
        noteFailure();
        return Step::Failed;
    }
    return Step::Added;
}

HistoryDatabase::SaveResult HistoryDatabase::insert(std::span<const NewHistoryItem> items)
{
    using Outcome = SaveResult::Outcome;
    SaveResult result;
    auto fail = [&](Outcome outcome) {
        connection->executeStatements(QStringLiteral("ROLLBACK"));
        result.outcome = outcome;
        result.added = 0;
        result.error = failure;
        return result;
    };

    if (!hasSchema) {
        failure = HistoryStoreError::sqlite(0, QStringLiteral("the history store is not open for writing"));
        result.outcome = Outcome::ContextSaveFailed;
        result.error = failure;
        return result;
    }
    if (!connection->executeStatements(QStringLiteral("BEGIN IMMEDIATE"))) {
        noteFailure();
        return fail(Outcome::ContextSaveFailed);
    }
    for (const NewHistoryItem& item : items) {
        switch (insertOne(item)) {
        case Step::Added: ++result.added; break;
        case Step::Skipped: break;
        case Step::Failed: return fail(Outcome::ContextSaveFailed);
        }
    }
    if (!connection->executeStatements(QStringLiteral("COMMIT"))) {
        noteFailure();
        return fail(Outcome::ParentSaveFailed);
    }
    return result;
}
