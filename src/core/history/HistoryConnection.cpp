#include "HistoryConnection.h"

#include <QFile>

#include <utility>

#include <sqlite3.h>

namespace {

constexpr int busyTimeoutMs = 5000;

} // namespace

HistoryConnection::Statement::Statement(Statement&& other) noexcept
    : statement(std::exchange(other.statement, nullptr))
    , failure(other.failure)
{
}

HistoryConnection::Statement::~Statement()
{
    sqlite3_finalize(statement);
}

HistoryConnection::Statement& HistoryConnection::Statement::bind(int index, qint64 value)
{
    if (!statement || sqlite3_bind_int64(statement, index, value) != SQLITE_OK)
        failure = true;
    return *this;
}

HistoryConnection::Statement& HistoryConnection::Statement::bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (!statement || sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        failure = true;
    return *this;
}

HistoryConnection::Statement& HistoryConnection::Statement::bindBlob(int index, QByteArrayView bytes)
{
    // A zero-length blob must still be a blob, not NULL: "" is a value.
    static const char empty = 0;
    const void* data = bytes.isEmpty() ? &empty : bytes.data();
    if (!statement || sqlite3_bind_blob(statement, index, data, int(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        failure = true;
    return *this;
}

bool HistoryConnection::Statement::next()
{
    if (!statement || failure)
        return false;
    const int result = sqlite3_step(statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        failure = true;
    return false;
}

bool HistoryConnection::Statement::run()
{
    while (next()) {
    }
    return isValid() && !failure;
}

qint64 HistoryConnection::Statement::int64(int column) const
{
    return sqlite3_column_int64(statement, column);
}

QString HistoryConnection::Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(statement, column));
}

QByteArray HistoryConnection::Statement::blob(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return QByteArray(data, sqlite3_column_bytes(statement, column));
}

HistoryConnection::~HistoryConnection()
{
    close();
}

std::optional<HistoryStoreError> HistoryConnection::open(const QString& path, Access access)
{
    close();
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK) {
        const HistoryStoreError error = HistoryStoreError::sqlite(
            handle ? sqlite3_extended_errcode(handle) : result,
            handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(result)));
        sqlite3_close(handle);
        return error;
    }
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, busyTimeoutMs);
    db = handle;
    return std::nullopt;
}

void HistoryConnection::close()
{
    // Statements are finalised by their owners; close_v2 waits for any left.
    sqlite3_close_v2(db);
    db = nullptr;
}

HistoryConnection::Statement HistoryConnection::prepare(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (db)
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement);
}

bool HistoryConnection::execute(const char* sql)
{
    return db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 HistoryConnection::lastInsertRowId() const
{
    return db ? sqlite3_last_insert_rowid(db) : 0;
}

HistoryStoreError HistoryConnection::lastError() const
{
    if (!db)
        return HistoryStoreError::sqlite(SQLITE_MISUSE, QStringLiteral("the history store is not open"));
    return HistoryStoreError::sqlite(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}
