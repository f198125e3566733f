#pragma once

#include "HistoryStoreError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// One SQLite connection to the history file, used by one thread at a time.
// The store keeps one on the main thread and its writer one of its own; the
// command line opens one read-only.
class HistoryConnection
{
public:
    enum class Access { ReadWrite, ReadOnly };

    // One prepared statement. Binding indices start at 1, columns at 0.
    class Statement
    {
    public:
        Statement(Statement&& other) noexcept;
        Statement& operator=(Statement&&) = delete;
        ~Statement();

        bool isValid() const { return statement != nullptr; }
        Statement& bind(int index, qint64 value);
        Statement& bind(int index, const QString& text);
        Statement& bindBlob(int index, QByteArrayView bytes);

        // Steps once: true with a row to read, false when done or failed
        // (failed() tells which).
        bool next();
        // Steps to the end; false on failure.
        bool run();
        bool failed() const { return failure; }

        qint64 int64(int column) const;
        QString text(int column) const;
        QByteArray blob(int column) const;

    private:
        friend class HistoryConnection;
        Statement(sqlite3_stmt* statement) : statement(statement) {}
        sqlite3_stmt* statement = nullptr;
        bool failure = false;
    };

    HistoryConnection() = default;
    ~HistoryConnection();
    HistoryConnection(const HistoryConnection&) = delete;
    HistoryConnection& operator=(const HistoryConnection&) = delete;

    // Opens `path`, creating the file when writable. A busy file is waited
    // for up to a few seconds before a statement fails.
    std::optional<HistoryStoreError> open(const QString& path, Access access);
    void close();
    bool isOpen() const { return db != nullptr; }

    // A statement that cannot be prepared comes back invalid; everything
    // done with it fails.
    Statement prepare(const char* sql);
    // Runs one or more statements that return no rows.
    bool execute(const char* sql);
    qint64 lastInsertRowId() const;

    // The error of the last failed call on this connection.
    HistoryStoreError lastError() const;

private:
    sqlite3* db = nullptr;
};
