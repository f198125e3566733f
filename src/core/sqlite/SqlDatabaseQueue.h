#pragma once

#include "SqlDatabase.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>

// One connection shared by whoever holds the queue: inDatabase() runs one
// block at a time and returns when its block has run, so blocks from any
// thread are serialised on the connection.
class SqlDatabaseQueue
{
public:
    // SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
    static constexpr int defaultOpenFlags = 6;

    // Opens the connection at once; nothing (logged) when that fails.
    static std::unique_ptr<SqlDatabaseQueue> databaseQueueWithPath(const QString& path,
                                                                   int openFlags = defaultOpenFlags);
    ~SqlDatabaseQueue(); // closes the connection

    const QString& path() const { return databasePath; }
    int openFlags() const { return flags; }

    // Runs `block` with the connection, reopened first if it was closed (the
    // block gets nullptr when that fails). A block that calls inDatabase on
    // the same queue again would wait for itself forever; that call is
    // refused (logged, the inner block does not run, false).
    bool inDatabase(const std::function<void(SqlDatabase*)>& block);

private:
    SqlDatabaseQueue(QString path, int flags, std::unique_ptr<SqlDatabase> db);

    QString databasePath;
    int flags;
    std::unique_ptr<SqlDatabase> db;
    std::mutex queue;
};
