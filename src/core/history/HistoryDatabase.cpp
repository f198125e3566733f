#include "HistoryDatabase.h"

#include "HistoryLog.h"

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

std::optional<HistoryStoreError> HistoryDatabase::open(const QString& filePath, Access access)
{
    hasSchema = false;
    if (std::optional<HistoryStoreError> error = connection.open(filePath, access))
        return error;
    if (access == Access::ReadWrite) {
        // WAL: the command line and the menu read while the writer commits.
        // FULL: a commit is on disk before we report it saved.
        auto mode = connection.prepare("PRAGMA journal_mode = WAL");
        if (!mode.next() || mode.text(0).compare(u"wal", Qt::CaseInsensitive) != 0
            || !connection.execute("PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON")) {
            const HistoryStoreError error = connection.lastError();
            connection.close();
            return error;
        }
    }
    if (std::optional<HistoryStoreError> error = prepareSchema(access)) {
        connection.close();
        return error;
    }
    return std::nullopt;
}

std::optional<HistoryStoreError> HistoryDatabase::prepareSchema(Access access)
{
    auto readVersion = [this]() -> std::optional<int> {
        auto version = connection.prepare("PRAGMA user_version");
        if (!version.next())
            return std::nullopt;
        return int(version.int64(0));
    };
    auto tooNew = [](int version) {
        return HistoryStoreError::sqlite(
            0, QStringLiteral("the history store has schema version %1; this version of Huelark reads up to %2")
                   .arg(version)
                   .arg(schemaVersion));
    };

    std::optional<int> version = readVersion();
    if (!version)
        return connection.lastError();
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
    if (!connection.execute("BEGIN IMMEDIATE"))
        return connection.lastError();
    version = readVersion();
    if (!version || *version > schemaVersion) {
        const HistoryStoreError error = version ? tooNew(*version) : connection.lastError();
        connection.execute("ROLLBACK");
        return error;
    }
    for (int step = *version; step < schemaVersion; ++step) {
        if (!connection.execute(migrations[step])) {
            const HistoryStoreError error = connection.lastError();
            connection.execute("ROLLBACK");
            return error;
        }
    }
    const QByteArray setVersion = "PRAGMA user_version = " + QByteArray::number(schemaVersion);
    if (!connection.execute(setVersion.constData()) || !connection.execute("COMMIT")) {
        noteFailure();
        connection.execute("ROLLBACK");
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
    auto query = connection.prepare(R"sql(SELECT date FROM "Date" ORDER BY date DESC)sql");
    while (query.next())
        days << query.text(0);
    if (query.failed() || !query.isValid()) {
        noteFailure();
        return std::nullopt;
    }
    return days;
}

std::optional<QList<HistoryEntry>> HistoryDatabase::entries(const QString& day, const ColorSpacePtr& wellSpace,
                                                            int limit, int offset)
{
    QList<HistoryEntry> list;
    if (!hasSchema)
        return list;
    auto query = connection.prepare(R"sql(
        SELECT h.name, h.saved, h.last, h.colors
        FROM "Date" d JOIN History h ON h.date_id = d.id
        WHERE d.date = ?1
        ORDER BY h.saved DESC, h.id DESC
        LIMIT ?2 OFFSET ?3)sql");
    query.bind(1, day).bind(2, qint64(limit < 0 ? -1 : limit)).bind(3, qint64(qMax(offset, 0)));
    while (query.next()) {
        list.append(HistoryEntry::fromArchives(query.text(0), savedFromStored(query.int64(1)), query.blob(2),
                                               query.blob(3), wellSpace));
    }
    if (query.failed() || !query.isValid()) {
        noteFailure();
        return std::nullopt;
    }
    return list;
}

std::optional<QHash<QString, QList<HistoryEntry>>> HistoryDatabase::allEntries(const ColorSpacePtr& wellSpace)
{
    QHash<QString, QList<HistoryEntry>> all;
    if (!hasSchema)
        return all;
    auto query = connection.prepare(R"sql(
        SELECT d.date, h.name, h.saved, h.last, h.colors
        FROM "Date" d JOIN History h ON h.date_id = d.id
        ORDER BY h.date_id, h.saved DESC, h.id DESC)sql");
    QString day;
    QList<HistoryEntry>* list = nullptr;
    while (query.next()) {
        const QString rowDay = query.text(0);
        if (!list || rowDay != day) {
            day = rowDay;
            list = &all[day];
        }
        list->append(HistoryEntry::fromArchives(query.text(1), savedFromStored(query.int64(2)), query.blob(3),
                                                query.blob(4), wellSpace));
    }
    if (query.failed() || !query.isValid()) {
        noteFailure();
        return std::nullopt;
    }
    return all;
}

std::optional<QList<PaletteRecord>> HistoryDatabase::palettes()
{
    QList<PaletteRecord> list;
    if (!hasSchema)
        return list;
    auto query = connection.prepare(
        "SELECT name, color_1, color_2, color_3, color_4, color_5, color_6, color_7, color_8, color_last FROM Palette");
    while (query.next()) {
        PaletteRecord record;
        record.name = query.text(0);
        for (int i = 0; i < 8; ++i)
            record.colors[i] = query.blob(1 + i);
        record.color_last = query.blob(9);
        list.append(record);
    }
    if (query.failed() || !query.isValid()) {
        noteFailure();
        return std::nullopt;
    }
    return list;
}

bool HistoryDatabase::deleteAll()
{
    if (!hasSchema)
        return connection.isOpen();
    if (connection.execute(R"sql(BEGIN IMMEDIATE; DELETE FROM History; DELETE FROM "Date"; COMMIT)sql"))
        return true;
    noteFailure();
    connection.execute("ROLLBACK");
    return false;
}

HistoryDatabase::Step HistoryDatabase::insertOne(const NewHistoryItem& item)
{
    // The day is looked up by equality and created only when missing: one
    // "Date" row per day string.
    std::optional<qint64> day;
    {
        auto lookup = connection.prepare(R"sql(SELECT id FROM "Date" WHERE date = ?1)sql");
        lookup.bind(1, item.day);
        if (lookup.next())
            day = lookup.int64(0);
        if (lookup.failed() || !lookup.isValid()) {
            noteFailure();
            HistoryLog::fetchFailure(failure);
            return Step::Skipped;
        }
    }
    if (!day) {
        auto insertDay = connection.prepare(R"sql(INSERT INTO "Date" (date) VALUES (?1))sql");
        if (!insertDay.bind(1, item.day).run()) {
            noteFailure();
            return Step::Failed;
        }
        day = connection.lastInsertRowId();
    }
    auto insertEntry = connection.prepare(
        "INSERT INTO History (date_id, name, saved, last, colors) VALUES (?1, ?2, ?3, ?4, ?5)");
    insertEntry.bind(1, *day).bind(2, item.name).bind(3, item.saved.toMSecsSinceEpoch());
    insertEntry.bindBlob(4, item.last).bindBlob(5, item.colors);
    if (!insertEntry.run()) {
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
        connection.execute("ROLLBACK");
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
    if (!connection.execute("BEGIN IMMEDIATE")) {
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
    if (!connection.execute("COMMIT")) {
        noteFailure();
        return fail(Outcome::ParentSaveFailed);
    }
    return result;
}
