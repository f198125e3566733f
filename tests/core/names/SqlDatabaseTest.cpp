#include "names/SqlDatabase.h"
#include "names/SqlDatabaseQueue.h"
#include "names/SqlResultSet.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

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
    const struct
    {
        QVariant value;
        const char* type; // typeof() of the stored value
        QString text;     // the value read back as text
    } rows[] = {
        {QVariant(), "null", {}},
        {QVariant::fromValue(nullptr), "null", {}},
        {QByteArray("\x01\x02", 2), "blob", QStringLiteral("\x01\x02")},
        {QByteArray(), "blob", QStringLiteral("")}, // an empty blob, not NULL
        {QDateTime::fromSecsSinceEpoch(90, Qt::UTC), "real", QStringLiteral("90.0")},
        {true, "integer", QStringLiteral("1")},
        {static_cast<short>(-7), "integer", QStringLiteral("-7")},
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

TEST(SqlDatabase, ColumnsAreFoundByNameInAnyCaseAndBadColumnsReadAsNothing)
{
    const auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE colors(hexCode text, r int)")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO colors VALUES (?, ?)"), {QStringLiteral("ff0000"), 255}));
    const auto rs = db->executeQuery(QStringLiteral("SELECT * FROM colors"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->stringForColumn(QStringLiteral("HEXCODE")), QStringLiteral("ff0000"));
    EXPECT_EQ(rs->intForColumn(QStringLiteral("R")), 255);
    EXPECT_EQ(rs->columnIndexForName(QStringLiteral("g")), -1);
    EXPECT_EQ(rs->intForColumn(QStringLiteral("g")), 0);
    EXPECT_EQ(rs->stringForColumn(QStringLiteral("g")), std::nullopt);
    EXPECT_EQ(rs->stringForColumnIndex(2), std::nullopt);
    EXPECT_EQ(rs->stringForColumnIndex(-1), std::nullopt);
    EXPECT_FALSE(rs->next());
    EXPECT_TRUE(rs->isClosed());
    EXPECT_FALSE(db->hasOpenResultSets());
}

TEST(SqlDatabase, MisusedCallsFailWithoutTouchingTheData)
{
    const auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t(a int)")));
    // Too few or too many values for the parameters.
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (?)")));
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (?)"), {1, 2}));
    EXPECT_EQ(db->executeQuery(QStringLiteral("SELECT * FROM t WHERE a = ?")), nullptr);
    // A statement that yields a row is not an update.
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("SELECT 1")));
    // Invalid SQL.
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("INSERT INTO nowhere VALUES (1)")));
    EXPECT_TRUE(db->lastErrorMessage().contains(QStringLiteral("no such table")));
    EXPECT_EQ(db->executeQuery(QStringLiteral("SELEC 1")), nullptr);

    const auto rs = db->executeQuery(QStringLiteral("SELECT count(*) FROM t"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 0);
    EXPECT_FALSE(db->isExecutingStatement());

    // A closed connection refuses work.
    db->close();
    EXPECT_FALSE(db->executeUpdate(QStringLiteral("CREATE TABLE u(a int)")));
    EXPECT_EQ(db->executeQuery(QStringLiteral("SELECT 1")), nullptr);
}

TEST(SqlDatabase, CloseEndsOpenCursorsAndLeakedStatements)
{
    const auto db = openMemory();
    const auto cursor = db->executeQuery(QStringLiteral("SELECT 1 UNION SELECT 2"));
    ASSERT_TRUE(cursor && cursor->next());
    EXPECT_TRUE(db->hasOpenResultSets());

    // A statement prepared behind the layer's back keeps SQLite from closing.
    sqlite3_stmt* leaked = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db->sqliteHandle(), "SELECT 3", -1, &leaked, nullptr), SQLITE_OK);

    EXPECT_TRUE(db->close());
    EXPECT_FALSE(db->isOpen());
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    EXPECT_TRUE(cursor->isClosed());
    EXPECT_FALSE(cursor->next());
    EXPECT_FALSE(db->hasOpenResultSets());

    // It opens again as new.
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

TEST(SqlDatabaseQueue, IsRefusedForADatabaseThatCannotBeOpened)
{
    QTemporaryDir dir;
    EXPECT_EQ(SqlDatabaseQueue::databaseQueueWithPath(dir.filePath(QStringLiteral("missing.db")), SQLITE_OPEN_READONLY),
              nullptr);
    EXPECT_EQ(SqlDatabaseQueue::databaseQueueWithPath(dir.filePath(QStringLiteral("no/such/folder.db"))), nullptr);
}
