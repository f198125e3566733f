#pragma once

#include <QDateTime>
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

// One SQLite connection, for the names database and the history store alike.
// Failures never throw: calls
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
    // Runs one or more statements separated by ";" that take no values
    // (a schema, "BEGIN; ...; COMMIT"); stops at the first that fails.
    bool executeStatements(const QString& sql);
    qint64 lastInsertRowId() const;
    // A transaction is open (SQLite may have ended one on its own after an
    // error such as a full disk).
    bool inTransaction() const;

    // The error of the last failed call; while closed, that of the last
    // failed open.
    QString lastErrorMessage() const;
    int lastErrorCode() const;
    // The same with SQLite's finer code (SQLITE_CORRUPT_INDEX and the like).
    int lastExtendedErrorCode() const;

    // Moves a database file that must not be used any more out of the way,
    // with its journal, WAL and shared-memory files, to
    // "<name>-damaged-<yyyy-MM-dd-HHmmss>.<suffix>" beside it (a number is
    // added when that exists), so it can still be opened and looked at.
    // Nothing is deleted. Answers the new path of the database file, or
    // nothing (with the reason in `error`) when it could not be moved.
    static std::optional<QString> moveDatabaseFilesAside(const QString& path, const QDateTime& when,
                                                         QString* error = nullptr);

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
    int openErrorCode = 0;
    QString openErrorMessage;
    double maxBusyRetry = 2;
    std::chrono::steady_clock::time_point busyStart;
    std::set<SqlResultSet*> openResultSets;
    QHash<QString, std::shared_ptr<SqlStatement>> cachedStatements;
};
