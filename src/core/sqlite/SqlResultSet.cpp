#include "SqlResultSet.h"

#include "Log.h"

#include "SqlDatabase.h"
#include "SqlStatement.h"


#include <sqlite3.h>

SqlResultSet::SqlResultSet(std::unique_ptr<SqlStatement> statement, SqlDatabase* parent)
    : statement(std::move(statement))
    , parentDB(parent)
    , queryText(this->statement->query())
{
}

SqlResultSet::~SqlResultSet()
{
    close();
}

void SqlResultSet::close()
{
    if (statement) {
        statement->reset();
        statement.reset();
    }
    if (parentDB) {
        parentDB->resultSetDidClose(this);
        parentDB = nullptr;
    }
}

bool SqlResultSet::next()
{
    if (!statement)
        return false;
    sqlite3_stmt* handle = statement->statement();
    const int code = sqlite3_step(handle);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE) {
        sqlite3* db = sqlite3_db_handle(handle);
        // Kept before close(): resetting the statement may change what the
        // connection reports.
        stepErrorCode = sqlite3_extended_errcode(db);
        if (stepErrorCode == SQLITE_OK)
            stepErrorCode = code;
        stepErrorMessage = QString::fromUtf8(sqlite3_errmsg(db));
        const bool logs = !parentDB || parentDB->logsErrors;
        const QString where = parentDB ? parentDB->pathText() : QString();
        const QByteArray message = stepErrorMessage.toUtf8();
        if (logs) {
            if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
                qCWarning(lcSqlite, "%s:%d Database busy (%s)", __func__, __LINE__, qUtf8Printable(where));
                qCWarning(lcSqlite, "Database busy");
            } else if (code == SQLITE_ERROR || code == SQLITE_MISUSE) {
                qCWarning(lcSqlite, "Error calling sqlite3_step (%d: %s) rs", code, message.constData());
            } else {
                qCWarning(lcSqlite, "Unknown error calling sqlite3_step (%d: %s) rs", code, message.constData());
            }
        }
    }
    close();
    return false;
}

int SqlResultSet::columnCount() const
{
    return statement ? sqlite3_column_count(statement->statement()) : 0;
}

int SqlResultSet::columnIndexForName(const QString& name) const
{
    if (!columnNameToIndexMap) {
        columnNameToIndexMap.emplace();
        const int count = columnCount();
        for (int i = 0; i < count; ++i)
            columnNameToIndexMap->insert(
                QString::fromUtf8(sqlite3_column_name(statement->statement(), i)).toLower(), i);
    }
    const auto found = columnNameToIndexMap->constFind(name.toLower());
    if (found != columnNameToIndexMap->constEnd())
        return *found;
    qCWarning(lcSqlite, "Warning: I could not find the column named '%s'.", qUtf8Printable(name));
    return -1;
}

int SqlResultSet::intForColumnIndex(int index) const
{
    if (!statement || index < 0 || index >= columnCount())
        return 0;
    return sqlite3_column_int(statement->statement(), index);
}

int SqlResultSet::intForColumn(const QString& name) const
{
    return intForColumnIndex(columnIndexForName(name));
}

qint64 SqlResultSet::longLongIntForColumnIndex(int index) const
{
    if (!statement || index < 0 || index >= columnCount())
        return 0;
    return sqlite3_column_int64(statement->statement(), index);
}

QByteArray SqlResultSet::dataForColumnIndex(int index) const
{
    if (!statement || index < 0 || index >= columnCount())
        return {};
    sqlite3_stmt* handle = statement->statement();
    const auto* data = static_cast<const char*>(sqlite3_column_blob(handle, index));
    return QByteArray(data, sqlite3_column_bytes(handle, index));
}

std::optional<QString> SqlResultSet::stringForColumnIndex(int index) const
{
    if (!statement || index < 0 || index >= columnCount())
        return std::nullopt;
    sqlite3_stmt* handle = statement->statement();
    if (sqlite3_column_type(handle, index) == SQLITE_NULL)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(handle, index));
}

std::optional<QString> SqlResultSet::stringForColumn(const QString& name) const
{
    return stringForColumnIndex(columnIndexForName(name));
}
