#pragma once

#include <QString>

struct sqlite3_stmt;

// Owns one prepared statement. Destroying it finalises the statement, so a
// statement can never outlive the object that was handed it.
class SqlStatement
{
public:
    SqlStatement(sqlite3_stmt* statement, QString query);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    sqlite3_stmt* statement() const { return handle; }
    const QString& query() const { return queryText; }

    long useCount = 0;
    bool inUse = false;

    // Back to before the first step, bindings kept.
    void reset();
    // Finalises the statement; the object holds nothing afterwards. Answers
    // the result code of the finalisation (SQLITE_OK when there was nothing
    // to finalise).
    int close();

private:
    sqlite3_stmt* handle;
    QString queryText;
};
