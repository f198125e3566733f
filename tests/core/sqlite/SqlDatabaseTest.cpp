#include "sqlite/SqlDatabase.h"
#include "sqlite/SqlDatabaseQueue.h"
#include "sqlite/SqlResultSet.h"

#include "../LogLines.h"
#include "QtPrinters.h"

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>

namespace {

std::unique_ptr<SqlDatabase> openMemory()
{
    std::unique_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(std::nullopt);
    EXPECT_TRUE(db && db->open());
    return db;
}

} // namespace

TEST(SqlDatabase, ValuesAreBoundByTheirKind)
{
    const auto db = openMemory();
    // Each value with typeof() of what is stored, and that read back as text.
    const struct { QVariant value; const char* type; QString text; } rows[] = {
        {QVariant(), "null", {}},
        {QVariant::fromValue(nullptr), "null", {}},
        {QByteArray("\x01\x02", 2), "blob", QStringLiteral("\x01\x02")},
        {QByteArray(), "blob", QStringLiteral("")}, // an empty blob, not NULL
        {QDateTime::fromSecsSinceEpoch(90, Qt::UTC), "real", QStringLiteral("90.0")},
        {true, "integer", QStringLiteral("1")},
        {-42, "integer", QStringLiteral("-42")},
        {4294967295u, "integer", QStringLiteral("4294967295")}, // unsigned int goes 64-bit, no wrap
        {Q_INT64_C(-9007199254740993), "integer", QStringLiteral("-9007199254740993")},
        {1.5, "real", QStringLiteral("1.5")},
        {QStringLiteral("Bleu Lumière"), "text", QStringLiteral("Bleu Lumière")},
        {QStringLiteral(""), "text", QStringLiteral("")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type + std::string(" ") + row.value.toString().toStdString());
        const auto rs = db->executeQuery(QStringLiteral("SELECT typeof(?), CAST(?1 AS TEXT)"), {row.value});
        ASSERT_TRUE(rs);
        ASSERT_TRUE(rs->next());
        EXPECT_EQ(rs->stringForColumnIndex(0), QString::fromLatin1(row.type));
        EXPECT_EQ(rs->stringForColumnIndex(1), row.type == std::string("null") ? std::nullopt
                                                                                : std::optional<QString>(row.text));
    }
}

TEST(SqlDatabase, ColumnsAreFoundByNameInAnyCaseAndCloseEndsOpenCursors)
{
    const auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE colors(hexCode text, r int)")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO colors VALUES (?, ?)"), {QStringLiteral("ff0000"), 255}));
    const auto rs = db->executeQuery(QStringLiteral("SELECT * FROM colors"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumn(QStringLiteral("HEXCODE")), QStringLiteral("ff0000"));
    EXPECT_EQ(rs->intForColumn(QStringLiteral("R")), 255);
    EXPECT_EQ(rs->columnIndexForName(QStringLiteral("g")), -1);
    EXPECT_EQ(rs->stringForColumn(QStringLiteral("g")), std::nullopt);
    EXPECT_EQ(rs->stringForColumnIndex(2), std::nullopt);
    EXPECT_EQ(rs->stringForColumnIndex(-1), std::nullopt);
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(rs->failed()) << "the end of the rows is no error";
    EXPECT_TRUE(rs->isClosed());
    EXPECT_FALSE(db->hasOpenResultSets());

    // Closing the connection ends the cursors still open on it.
    const auto cursor = db->executeQuery(QStringLiteral("SELECT 1 UNION SELECT 2"));
    ASSERT_TRUE(cursor && cursor->next());
    EXPECT_TRUE(db->hasOpenResultSets());
    EXPECT_TRUE(db->close());
    EXPECT_FALSE(db->isOpen());
    EXPECT_TRUE(cursor->isClosed());
    EXPECT_FALSE(cursor->next());
    EXPECT_FALSE(db->hasOpenResultSets());

    // Closed, it refuses work; it opens again as new.
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("CREATE TABLE t(a int)")));
    EXPECT_EQ(db->executeQuery(QStringLiteral("SELECT 1")), nullptr);
    EXPECT_TRUE(db->open());
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t(a int)")));
}

TEST(SqlDatabase, AWriterWaitsForALockAndGivesUpAfterTheRetryInterval)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("busy.db"));
    const auto holder = SqlDatabase::databaseWithPath(path);
    const auto waiter = SqlDatabase::databaseWithPath(path);
    ASSERT_TRUE(holder->open() && waiter->open());
    ASSERT_TRUE(holder->executeUpdate(QStringLiteral("CREATE TABLE t(a int)")));

    ASSERT_TRUE(holder->executeUpdate(QStringLiteral("BEGIN EXCLUSIVE")));
    waiter->setMaxBusyRetryTimeInterval(0.2);
    EXPECT_FALSE(waiter->executeUpdate(QStringLiteral("INSERT INTO t VALUES (1)")));
    EXPECT_EQ(waiter->lastErrorCode(), SQLITE_BUSY);

    ASSERT_TRUE(holder->executeUpdate(QStringLiteral("COMMIT")));
    EXPECT_TRUE(waiter->executeUpdate(QStringLiteral("INSERT INTO t VALUES (1)")));
}

TEST(SqlDatabaseQueue, RunsBlocksOnItsConnectionAndRefusesToNest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("queue.db"));
    const auto queue = SqlDatabaseQueue::databaseQueueWithPath(path);
    ASSERT_TRUE(queue);

    bool innerRan = false;
    bool nestedAccepted = true;
    EXPECT_TRUE(queue->inDatabase([&](SqlDatabase* db) {
        ASSERT_TRUE(db);
        EXPECT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t(a int)")));
        // Would wait for itself.
        nestedAccepted = queue->inDatabase([&](SqlDatabase*) { innerRan = true; });
        db->close(); // the next block gets it reopened
    }));
    EXPECT_FALSE(nestedAccepted);
    EXPECT_FALSE(innerRan);

    int rows = -1;
    EXPECT_TRUE(queue->inDatabase([&](SqlDatabase* db) {
        ASSERT_TRUE(db && db->isOpen());
        const auto rs = db->executeQuery(QStringLiteral("SELECT count(*) FROM t"));
        ASSERT_TRUE(rs && rs->next());
        rows = rs->intForColumnIndex(0);
    }));
    EXPECT_EQ(rows, 0);
}

namespace {

// Calls back into the connection from inside a statement being stepped.
void reenter(sqlite3_context* context, int, sqlite3_value**)
{
    auto* db = static_cast<SqlDatabase*>(sqlite3_user_data(context));
    sqlite3_result_int(context, db->executeUpdate(QStringLiteral("CREATE TABLE inner_t(a int)")) ? 1 : 0);
}

} // namespace

// Failures never throw; the log is where they show, so its lines are part of
// what the layer promises.
TEST(SqlDatabase, EachFailureLogsItsLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.db"));
    const auto db = SqlDatabase::databaseWithPath(path);
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t(a int UNIQUE)")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (1)")));
    ASSERT_EQ(sqlite3_create_function(db->sqliteHandle(), "reenter", 0, SQLITE_UTF8, db.get(), reenter, nullptr,
                                      nullptr),
              SQLITE_OK);

    const QString missing = dir.filePath(QStringLiteral("no/such/folder.db"));
    const struct { const char* what; std::function<void()> action; QStringList lines; } rows[] = {
        {"a file that cannot be opened",
         [&] { EXPECT_FALSE(SqlDatabase::databaseWithPath(missing)->open()); },
         {"error opening!: 14"}},
        {"an update that yields a row",
         [&] { EXPECT_FALSE(db->executeUpdate(QStringLiteral("SELECT 1"))); },
         {"A executeUpdate is being called with a query string 'SELECT 1'"}},
        {"an update with too few values",
         [&] { EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (?)"))); },
         {"Error: the bind count (0) is not correct for the # of variables in the query (1) "
          "(INSERT INTO t VALUES (?)) (executeUpdate)"}},
        {"a query with too many values",
         [&] { EXPECT_EQ(db->executeQuery(QStringLiteral("SELECT ?"), {1, 2}), nullptr); },
         {"Error: the bind count is not correct for the # of variables (executeQuery)"}},
        {"a statement that cannot be prepared",
         [&] { EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO nowhere VALUES (1)"))); },
         {"DB Error: 1 \"no such table: nowhere\"", "DB Query: INSERT INTO nowhere VALUES (1)", "DB Path: " + path}},
        {"an update that fails while stepping",
         [&] { EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (1)"))); },
         {"Unknown error calling sqlite3_step (19: UNIQUE constraint failed: t.a) eu",
          "DB Query: INSERT INTO t VALUES (1)",
          "Unknown error finalizing or resetting statement (19: UNIQUE constraint failed: t.a)"}},
        {"a query that fails while stepping",
         [&] {
             const auto rs = db->executeQuery(QStringLiteral("SELECT abs(-9223372036854775807 - 1)"));
             ASSERT_TRUE(rs);
             EXPECT_FALSE(rs->next());
             // Not the end of the rows: the cursor says so.
             EXPECT_TRUE(rs->failed());
             EXPECT_EQ(rs->errorMessage(), "integer overflow");
             EXPECT_TRUE(rs->isClosed());
         },
         {"Error calling sqlite3_step (1: integer overflow) rs"}},
        {"a column that is not there",
         [&] {
             const auto rs = db->executeQuery(QStringLiteral("SELECT a FROM t"));
             ASSERT_TRUE(rs && rs->next());
             EXPECT_EQ(rs->intForColumn(QStringLiteral("b")), 0);
         },
         {"Warning: I could not find the column named 'b'."}},
        {"a call made from inside a running one",
         [&] {
             // The outer insert stores what the inner call answered.
             EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (10 + reenter())")));
             const auto rs = db->executeQuery(QStringLiteral("SELECT max(a) FROM t"));
             ASSERT_TRUE(rs && rs->next());
             EXPECT_EQ(rs->intForColumnIndex(0), 10);
         },
         {"The SqlDatabase " + path + " is currently in use."}},
        // One prepared behind the layer's back would keep SQLite from closing.
        {"a statement left behind at close",
         [&] {
             sqlite3_stmt* leaked = nullptr;
             ASSERT_EQ(sqlite3_prepare_v2(db->sqliteHandle(), "SELECT 3", -1, &leaked, nullptr), SQLITE_OK);
             EXPECT_TRUE(db->close());
             EXPECT_TRUE(db->open());
         },
         {"Closing leaked statement"}},
        {"a queue on a file that cannot be opened",
         [&] { EXPECT_EQ(SqlDatabaseQueue::databaseQueueWithPath(missing), nullptr); },
         {"error opening!: 14", "Could not create database queue for path " + missing}},
        {"a block that leaves its cursor open",
         [&] {
             const auto queue = SqlDatabaseQueue::databaseQueueWithPath(path);
             ASSERT_TRUE(queue);
             std::unique_ptr<SqlResultSet> kept;
             queue->inDatabase([&](SqlDatabase* queued) { kept = queued->executeQuery(QStringLiteral("SELECT a FROM t")); });
         },
         {"Warning: there is at least one open result set around after performing inDatabase"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        LogLines log;
        row.action();
        EXPECT_EQ(log.take(), row.lines);
    }
}
