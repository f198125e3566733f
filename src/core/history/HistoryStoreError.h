#pragma once

#include <QString>

#include <memory>

// What went wrong in the history store, shaped like the errors the rest of
// the program shows and logs: a domain and code, a one-line description, an
// optional reason a user can act on, and the lower-level error behind it.
//
// Opening the store is the program's one fatal path: when it fails, the
// error of initializationFailure() is shown to the user and the program
// ends.
struct HistoryStoreError
{
    QString domain;
    int code = 0;
    QString localizedDescription;
    QString localizedFailureReason; // may be empty
    std::shared_ptr<const HistoryStoreError> underlyingError;

    static const QString initializationDomain;        // "YOUR_ERROR_DOMAIN"
    static constexpr int initializationCode = 9999;
    static const QString initializationDescription;   // "Failed to initialize the application's saved data"
    static const QString genericFailureReason;        // "There was an error creating or loading the application's saved data."

    // The error the store cannot open with. `reason` defaults to the generic
    // one; `underlying` is the SQLite or system error behind it, if any.
    static HistoryStoreError initializationFailure(const QString& reason = genericFailureReason,
                                                   const HistoryStoreError* underlying = nullptr);
    // "Expected a folder to store application data, found a file (<path>)."
    static QString foundAFileReason(const QString& folder);

    // An error SQLite reported; `code` is its extended result code.
    static HistoryStoreError sqlite(int code, const QString& message);
    // A failed system call (errno) on `path`.
    static HistoryStoreError system(int errorNumber, const QString& path);

    // Error Domain=<domain> Code=<code> "<description>"
    QString description() const;
    // {description = "..."; reason = "..."; underlying = <its description>}
    QString userInfoDescription() const;

    bool operator==(const HistoryStoreError& other) const;
};
