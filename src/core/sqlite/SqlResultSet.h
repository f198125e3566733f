#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

class SqlDatabase;
class SqlStatement;

// A cursor over the rows of one query. It starts before the first row; next()
// moves it on and closes it after the last row or on an error. Closing (or
// destroying) it releases its statement and takes it off its connection's
// list of open cursors.
class SqlResultSet
{
public:
    ~SqlResultSet();
    SqlResultSet(const SqlResultSet&) = delete;
    SqlResultSet& operator=(const SqlResultSet&) = delete;

    bool next();
    void close();
    bool isClosed() const { return !statement; }

    const QString& query() const { return queryText; }
    int columnCount() const;

    // The index of a column by its name in any letter case; -1 (logged)
    // when there is none.
    int columnIndexForName(const QString& name) const;

    // 0 for a bad index.
    int intForColumnIndex(int index) const;
    int intForColumn(const QString& name) const;
    // Nothing for a NULL value or a bad index.
    std::optional<QString> stringForColumnIndex(int index) const;
    std::optional<QString> stringForColumn(const QString& name) const;

private:
    friend class SqlDatabase;
    SqlResultSet(std::unique_ptr<SqlStatement> statement, SqlDatabase* parent);

    std::unique_ptr<SqlStatement> statement;
    SqlDatabase* parentDB;
    QString queryText;
    mutable std::optional<QHash<QString, int>> columnNameToIndexMap;
};
