#include "SqlDatabaseQueue.h"

#include "Log.h"


#include <algorithm>
#include <vector>

namespace {

// The queues whose block is running on this thread, innermost last.
thread_local std::vector<const SqlDatabaseQueue*> runningQueues;

} // namespace

std::unique_ptr<SqlDatabaseQueue> SqlDatabaseQueue::databaseQueueWithPath(const QString& path, int openFlags)
{
    std::unique_ptr<SqlDatabase> db = SqlDatabase::databaseWithPath(path);
    if (!db || !db->openWithFlags(openFlags)) {
        qCWarning(lcSqlite, "Could not create database queue for path %s", qUtf8Printable(path));
        return nullptr;
    }
    return std::unique_ptr<SqlDatabaseQueue>(new SqlDatabaseQueue(path, openFlags, std::move(db)));
}

SqlDatabaseQueue::SqlDatabaseQueue(QString path, int flags, std::unique_ptr<SqlDatabase> db)
    : databasePath(std::move(path))
    , flags(flags)
    , db(std::move(db))
{
}

SqlDatabaseQueue::~SqlDatabaseQueue()
{
    const std::lock_guard<std::mutex> lock(queue);
    db->close();
}

bool SqlDatabaseQueue::inDatabase(const std::function<void(SqlDatabase*)>& block)
{
    if (std::find(runningQueues.begin(), runningQueues.end(), this) != runningQueues.end()) {
        qCCritical(lcSqlite, "inDatabase called from inside a block of the same queue (%s); refused, it would "
                              "wait for itself", qUtf8Printable(databasePath));
        return false;
    }

    const std::lock_guard<std::mutex> lock(queue);
    runningQueues.push_back(this);
    SqlDatabase* connection = db.get();
    if (!connection->isOpen() && !connection->openWithFlags(flags)) {
        qCWarning(lcSqlite, "SqlDatabaseQueue could not reopen database for path %s", qUtf8Printable(databasePath));
        connection = nullptr;
    }
    block(connection);
    if (db->hasOpenResultSets())
        qCWarning(lcSqlite, "Warning: there is at least one open result set around after performing inDatabase");
    runningQueues.pop_back();
    return true;
}
