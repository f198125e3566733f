#pragma once

#include <QByteArray>
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
//
// next() answers false both at the end of the rows and when stepping fails
// (a damaged page, a busy file): a reader that stops there must ask failed()
// before it takes what it read for the whole table.
class SqlResultSet
{
public:
    ~SqlResultSet();
    SqlResultSet(const SqlResultSet&) = delete;
    SqlResultSet& operator=(const SqlResultSet&) = delete;

    bool next();
    void close();
    bool isClosed() const { return !statement; }

    // The rows ended in an error, not at their end; the error as SQLite gave
    // it (extended code) is kept here, whatever the connection does next.
    bool failed() const { return stepErrorCode != 0; }
    int errorCode() const { return stepErrorCode; }
    const QString& errorMessage() const { return stepErrorMessage; }

    const QString& query() const { return queryText; }
    int columnCount() const;

    // The index of a column by its name in any letter case; -1 (logged)
    // when there is none.
    int columnIndexForName(const QString& name) const;

    // 0 for a bad index.
    int intForColumnIndex(int index) const;
    int intForColumn(const QString& name) const;
    qint64 longLongIntForColumnIndex(int index) const;
    // The bytes of a blob (or of text); empty for NULL or a bad index.
    QByteArray dataForColumnIndex(int index) const;
    // Nothing for a NULL value or a bad index.
    std::optional<QString> stringForColumnIndex(int index) const;
    std::optional<QString> stringForColumn(const QString& name) const;

private:
    friend class SqlDatabase;
    SqlResultSet(std::unique_ptr<SqlStatement> statement, SqlDatabase* parent);

    std::unique_ptr<SqlStatement> statement;
    SqlDatabase* parentDB;
    QString queryText;
    int stepErrorCode = 0;
    QString stepErrorMessage;
    mutable std::optional<QHash<QString, int>> columnNameToIndexMap;
};
