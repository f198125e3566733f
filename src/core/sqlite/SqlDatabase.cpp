#include "SqlDatabase.h"

#include "Log.h"

#include "SqlResultSet.h"
#include "SqlStatement.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Clears the executing flag however the call ends.
struct ExecutingGuard
{
    bool& flag;
    ~ExecutingGuard() { flag = false; }
};

} // namespace

std::unique_ptr<SqlDatabase> SqlDatabase::databaseWithPath(const std::optional<QString>& path)
{
    // Connections are handed between threads (SqlDatabaseQueue); a library
    // built without any locking would corrupt its own state.
    if (!sqlite3_threadsafe())
        return nullptr;
    return std::unique_ptr<SqlDatabase>(new SqlDatabase(path));
}

SqlDatabase::SqlDatabase(const std::optional<QString>& path)
    : path(path)
{
}

SqlDatabase::~SqlDatabase()
{
    close();
}

void SqlDatabase::reportPrepareError(const QString& sql) const
{
    if (logsErrors) {
        qCWarning(lcSqlite, "DB Error: %d \"%s\"", lastErrorCode(), qUtf8Printable(lastErrorMessage()));
        qCWarning(lcSqlite, "DB Query: %s", qUtf8Printable(sql));
        qCWarning(lcSqlite, "DB Path: %s", qUtf8Printable(pathText()));
    }
    if (crashOnErrors)
        std::abort();
}

QString SqlDatabase::pathText() const
{
    return path ? *path : QStringLiteral(":memory:");
}

bool SqlDatabase::open()
{
    return openWithFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool SqlDatabase::openWithFlags(int flags)
{
    if (open_)
        return true;
    if (db)
        close();

    const QByteArray file = path ? path->toUtf8() : QByteArrayLiteral(":memory:");
    const int code = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        if (logsErrors)
            qCWarning(lcSqlite, "error opening!: %d", code);
        openErrorCode = db ? sqlite3_extended_errcode(db) : code;
        openErrorMessage = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        // SQLite hands out a handle even when opening fails; it must still
        // be released.
        sqlite3_close(db);
        db = nullptr;
        return false;
    }
    openErrorCode = SQLITE_OK;
    openErrorMessage.clear();
    open_ = true;
    installBusyHandler();
    return true;
}

bool SqlDatabase::close()
{
    // Copy first: closing a cursor takes it off the set.
    const std::vector<SqlResultSet*> cursors(openResultSets.begin(), openResultSets.end());
    for (SqlResultSet* cursor : cursors) {
        cursor->close();
        cursor->parentDB = nullptr;
    }
    openResultSets.clear();
    cachedStatements.clear();

    if (!db) {
        open_ = false;
        return true;
    }

    bool triedFinalizingOpenStatements = false;
    bool retry;
    do {
        retry = false;
        const int code = sqlite3_close(db);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
            if (!triedFinalizingOpenStatements) {
                triedFinalizingOpenStatements = true;
                while (sqlite3_stmt* leaked = sqlite3_next_stmt(db, nullptr)) {
                    qCWarning(lcSqlite, "Closing leaked statement");
                    sqlite3_finalize(leaked);
                    retry = true;
                }
            }
        } else if (code != SQLITE_OK) {
            qCWarning(lcSqlite, "error closing!: %d", code);
        }
    } while (retry);

    db = nullptr;
    open_ = false;
    return true;
}

void SqlDatabase::setMaxBusyRetryTimeInterval(double seconds)
{
    maxBusyRetry = seconds;
    installBusyHandler();
}

void SqlDatabase::installBusyHandler()
{
    if (!db)
        return;
    if (maxBusyRetry > 0)
        sqlite3_busy_handler(db, &SqlDatabase::busyHandler, this);
    else
        sqlite3_busy_handler(db, nullptr, nullptr);
}

int SqlDatabase::busyHandler(void* context, int count)
{
    auto* self = static_cast<SqlDatabase*>(context);
    if (count == 0) {
        self->busyStart = std::chrono::steady_clock::now();
        return 1;
    }
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - self->busyStart;
    if (waited.count() < self->maxBusyRetry) {
        // A random pause keeps two waiting connections from retrying in step.
        const int requested = 50 + static_cast<int>(QRandomGenerator::global()->bounded(50));
        const int actual = sqlite3_sleep(requested);
        if (actual != requested)
            qCWarning(lcSqlite,
                      "WARNING: Requested sleep of %i milliseconds, but SQLite returned %i. Maybe SQLite wasn't "
                      "built with HAVE_USLEEP=1?",
                      requested, actual);
        return 1;
    }
    return 0;
}

QString SqlDatabase::lastErrorMessage() const
{
    if (!db)
        return openErrorCode != SQLITE_OK ? openErrorMessage : QStringLiteral("the database is not open");
    return QString::fromUtf8(sqlite3_errmsg(db));
}

int SqlDatabase::lastErrorCode() const
{
    if (!db)
        return openErrorCode != SQLITE_OK ? (openErrorCode & 0xff) : SQLITE_MISUSE;
    return sqlite3_errcode(db);
}

int SqlDatabase::lastExtendedErrorCode() const
{
    if (!db)
        return openErrorCode != SQLITE_OK ? openErrorCode : SQLITE_MISUSE;
    return sqlite3_extended_errcode(db);
}

qint64 SqlDatabase::lastInsertRowId() const
{
    return db ? sqlite3_last_insert_rowid(db) : 0;
}

bool SqlDatabase::inTransaction() const
{
    return db && !sqlite3_get_autocommit(db);
}

bool SqlDatabase::executeStatements(const QString& sql)
{
    if (!beginExecuting())
        return false;
    ExecutingGuard guard{executing};
    if (traceExecution)
        qCInfo(lcSqlite, "%s executeStatements: %s", qUtf8Printable(pathText()), qUtf8Printable(sql));
    const int code = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (code == SQLITE_OK)
        return true;
    if (logsErrors) {
        qCWarning(lcSqlite, "Error executing statements (%d: %s)", code, sqlite3_errmsg(db));
        qCWarning(lcSqlite, "DB Query: %s", qUtf8Printable(sql));
    }
    if (crashOnErrors)
        std::abort();
    return false;
}

std::optional<QString> SqlDatabase::moveDatabaseFilesAside(const QString& path, const QDateTime& when, QString* error)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    const QString stem = file.absolutePath() + u'/' + file.completeBaseName() + QStringLiteral("-damaged-")
        + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // The companions go with it under its new name: the WAL may hold
    // committed data that belongs to the file, and a hot journal of the old
    // file must never be played back into a new one.
    static const char* const companions[] = {"-wal", "-shm", "-journal"};
    QString target = stem + suffix;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral("-wal")); ++n)
        target = stem + u'-' + QString::number(n) + suffix;

    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    for (const char* companion : companions) {
        const QString from = path + QLatin1String(companion);
        if (QFileInfo::exists(from))
            ::rename(QFile::encodeName(from).constData(), QFile::encodeName(target + QLatin1String(companion)).constData());
    }
    return target;
}

bool SqlDatabase::databaseExists() const
{
    if (!open_) {
        qCWarning(lcSqlite, "The SqlDatabase %s is not open.", qUtf8Printable(pathText()));
        return false;
    }
    return true;
}

bool SqlDatabase::beginExecuting()
{
    if (!databaseExists())
        return false;
    if (executing) {
        qCWarning(lcSqlite, "The SqlDatabase %s is currently in use.", qUtf8Printable(pathText()));
        if (crashOnErrors)
            std::abort();
        return false;
    }
    executing = true;
    return true;
}

bool SqlDatabase::bindArguments(void* handle, const QVariantList& arguments)
{
    auto* statement = static_cast<sqlite3_stmt*>(handle);
    int index = 0;
    for (const QVariant& value : arguments) {
        ++index;
        switch (value.isNull() ? QMetaType::UnknownType : value.metaType().id()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            sqlite3_bind_null(statement, index);
            break;
        case QMetaType::QByteArray: {
            // constData() is never null, so an empty array stays an empty
            // blob instead of turning into NULL.
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob(statement, index, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime:
            sqlite3_bind_double(statement, index, value.toDateTime().toMSecsSinceEpoch() / 1000.0);
            break;
        case QMetaType::Bool:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
            sqlite3_bind_int(statement, index, value.toInt());
            break;
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            sqlite3_bind_int64(statement, index, value.toLongLong());
            break;
        case QMetaType::Float:
        case QMetaType::Double:
            sqlite3_bind_double(statement, index, value.toDouble());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(statement, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        }
    }
    return index == sqlite3_bind_parameter_count(statement);
}

bool SqlDatabase::executeUpdate(const QString& sql, const QVariantList& arguments)
{
    if (!beginExecuting())
        return false;
    ExecutingGuard guard{executing};
    if (traceExecution)
        qCInfo(lcSqlite, "%s executeUpdate: %s", qUtf8Printable(pathText()), qUtf8Printable(sql));

    std::shared_ptr<SqlStatement> statement;
    if (shouldCacheStatements) {
        statement = cachedStatements.value(sql);
        if (statement)
            sqlite3_reset(statement->statement());
    }
    if (!statement) {
        sqlite3_stmt* handle = nullptr;
        const QByteArray text = sql.toUtf8();
        const int code = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &handle, nullptr);
        statement = std::make_shared<SqlStatement>(handle, sql);
        if (code != SQLITE_OK) {
            reportPrepareError(sql);
            return false;
        }
        if (shouldCacheStatements)
            cachedStatements.insert(sql, statement);
    }
    sqlite3_stmt* handle = statement->statement();
    if (!bindArguments(handle, arguments)) {
        qCWarning(lcSqlite,
                  "Error: the bind count (%d) is not correct for the # of variables in the query (%d) (%s) "
                  "(executeUpdate)",
                  static_cast<int>(arguments.size()), sqlite3_bind_parameter_count(handle), qUtf8Printable(sql));
        return false;
    }

    ++statement->useCount;
    const int code = sqlite3_step(handle);
    const bool done = code == SQLITE_DONE || code == SQLITE_OK;
    if (code == SQLITE_ROW) {
        qCWarning(lcSqlite, "A executeUpdate is being called with a query string '%s'", qUtf8Printable(sql));
    } else if (!done && logsErrors) {
        const char* message = sqlite3_errmsg(db);
        if (code == SQLITE_ERROR)
            qCWarning(lcSqlite, "Error calling sqlite3_step (%d: %s) SQLITE_ERROR", code, message);
        else if (code == SQLITE_MISUSE)
            qCWarning(lcSqlite, "Error calling sqlite3_step (%d: %s) SQLITE_MISUSE", code, message);
        else if (code == SQLITE_INTERRUPT)
            qCWarning(lcSqlite, "Error calling sqlite3_step. Query was interrupted (%d: %s) SQLITE_INTERRUPT", code,
                      message);
        else
            qCWarning(lcSqlite, "Unknown error calling sqlite3_step (%d: %s) eu", code, message);
        qCWarning(lcSqlite, "DB Query: %s", qUtf8Printable(sql));
    }
    if (!done && crashOnErrors)
        std::abort();

    // A cached statement is only reset, and kept for the next call.
    const int closeCode = shouldCacheStatements ? sqlite3_reset(handle) : statement->close();
    if (closeCode != SQLITE_OK && logsErrors)
        qCWarning(lcSqlite, "Unknown error finalizing or resetting statement (%d: %s)", closeCode,
                  sqlite3_errmsg(db));
    return done;
}

std::unique_ptr<SqlResultSet> SqlDatabase::executeQuery(const QString& sql, const QVariantList& arguments)
{
    if (!beginExecuting())
        return nullptr;
    ExecutingGuard guard{executing};
    if (traceExecution)
        qCInfo(lcSqlite, "%s executeQuery: %s", qUtf8Printable(pathText()), qUtf8Printable(sql));

    sqlite3_stmt* handle = nullptr;
    const QByteArray text = sql.toUtf8();
    const int code = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &handle, nullptr);
    auto statement = std::make_unique<SqlStatement>(handle, sql);
    if (code != SQLITE_OK) {
        reportPrepareError(sql);
        return nullptr;
    }
    if (!bindArguments(handle, arguments)) {
        qCWarning(lcSqlite, "Error: the bind count is not correct for the # of variables (executeQuery)");
        return nullptr;
    }

    ++statement->useCount;
    statement->inUse = true;
    std::unique_ptr<SqlResultSet> cursor(new SqlResultSet(std::move(statement), this));
    openResultSets.insert(cursor.get());
    return cursor;
}
