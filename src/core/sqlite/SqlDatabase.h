#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <chrono>
#include <memory>
#include <optional>
#include <set>

struct sqlite3;
class SqlResultSet;
class SqlStatement;

// One SQLite connection for the names database. Failures never throw: calls
// answer false or nothing, log a line (category "huelark.sqlite") when `logsErrors`
// is on, and leave the code and message in lastErrorCode/lastErrorMessage.
//
// One thread at a time. The executing flag only catches a call made while
// another call on the same connection is still running (a callback that
// re-enters); SqlDatabaseQueue is the way to share a connection.
class SqlDatabase
{
public:
    // A closed connection for `path`: nothing means an in-memory database,
    // an empty path a private temporary one. Nothing when the SQLite library
    // was built without thread safety.
    static std::unique_ptr<SqlDatabase> databaseWithPath(const std::optional<QString>& path);

    ~SqlDatabase(); // closes
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    const std::optional<QString>& databasePath() const { return path; }
    sqlite3* sqliteHandle() const { return db; }
    bool isOpen() const { return open_; }

    // Read-write, created when missing. True when already open.
    bool open();
    bool openWithFlags(int flags);
    // Closes every open result set first, and finalises statements left
    // behind by anyone else if SQLite refuses to close because of them.
    // The connection is closed afterwards in every case; always true.
    bool close();

    // Runs a statement that returns no rows, `arguments` bound to ?1..?n.
    bool executeUpdate(const QString& sql, const QVariantList& arguments = {});
    // A cursor before the first row, or nothing on failure. The cursor must
    // not outlive the connection's next close (the close ends it).
    std::unique_ptr<SqlResultSet> executeQuery(const QString& sql, const QVariantList& arguments = {});

    QString lastErrorMessage() const;
    int lastErrorCode() const;

    bool hasOpenResultSets() const { return !openResultSets.empty(); }
    bool isExecutingStatement() const { return executing; }

    // Seconds a busy database is retried before the busy code reaches the
    // caller; 0 or less installs no busy handler.
    double maxBusyRetryTimeInterval() const { return maxBusyRetry; }
    void setMaxBusyRetryTimeInterval(double seconds);

    bool logsErrors = true;
    bool crashOnErrors = false;
    bool traceExecution = false;
    // Updates keep their prepared statement for the next call with the same
    // text, until close: worth it for many rows through one INSERT.
    bool shouldCacheStatements = false;

private:
    friend class SqlResultSet;

    explicit SqlDatabase(const std::optional<QString>& path);
    bool databaseExists() const;
    bool beginExecuting();
    bool bindArguments(void* statement, const QVariantList& arguments);
    void installBusyHandler();
    static int busyHandler(void* context, int count);
    void resultSetDidClose(SqlResultSet* resultSet) { openResultSets.erase(resultSet); }
    QString pathText() const;
    // The log lines of a statement that failed to prepare; aborts when asked to.
    void reportPrepareError(const QString& sql) const;

    std::optional<QString> path;
    sqlite3* db = nullptr;
    bool open_ = false;
    bool executing = false;
    double maxBusyRetry = 2;
    std::chrono::steady_clock::time_point busyStart;
    std::set<SqlResultSet*> openResultSets;
    QHash<QString, std::shared_ptr<SqlStatement>> cachedStatements;
};
