#include "HistoryStoreError.h"

#include <QStringList>
#include <QtGlobal>

const QString HistoryStoreError::initializationDomain = QStringLiteral("YOUR_ERROR_DOMAIN");
const QString HistoryStoreError::initializationDescription =
    QStringLiteral("Failed to initialize the application's saved data");
const QString HistoryStoreError::genericFailureReason =
    QStringLiteral("There was an error creating or loading the application's saved data.");

HistoryStoreError HistoryStoreError::initializationFailure(const QString& reason, const HistoryStoreError* underlying)
{
    HistoryStoreError error;
    error.domain = initializationDomain;
    error.code = initializationCode;
    error.localizedDescription = initializationDescription;
    error.localizedFailureReason = reason;
    if (underlying)
        error.underlyingError = std::make_shared<const HistoryStoreError>(*underlying);
    return error;
}

QString HistoryStoreError::foundAFileReason(const QString& folder)
{
    return QStringLiteral("Expected a folder to store application data, found a file (%1).").arg(folder);
}

HistoryStoreError HistoryStoreError::sqlite(int code, const QString& message)
{
    HistoryStoreError error;
    error.domain = QStringLiteral("SQLite");
    error.code = code;
    error.localizedDescription = message;
    return error;
}

HistoryStoreError HistoryStoreError::system(int errorNumber, const QString& path)
{
    HistoryStoreError error;
    error.domain = QStringLiteral("POSIX");
    error.code = errorNumber;
    error.localizedDescription = QStringLiteral("%1: %2").arg(path, qt_error_string(errorNumber));
    return error;
}

QString HistoryStoreError::description() const
{
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"").arg(domain).arg(code).arg(localizedDescription);
}

QString HistoryStoreError::userInfoDescription() const
{
    QStringList parts;
    parts << QStringLiteral("description = \"%1\"").arg(localizedDescription);
    if (!localizedFailureReason.isEmpty())
        parts << QStringLiteral("reason = \"%1\"").arg(localizedFailureReason);
    if (underlyingError)
        parts << QStringLiteral("underlying = %1").arg(underlyingError->description());
    return u'{' + parts.join(QStringLiteral("; ")) + u'}';
}

bool HistoryStoreError::operator==(const HistoryStoreError& other) const
{
    const bool sameUnderlying = underlyingError && other.underlyingError
        ? *underlyingError == *other.underlyingError
        : !underlyingError && !other.underlyingError;
    return domain == other.domain && code == other.code && localizedDescription == other.localizedDescription
        && localizedFailureReason == other.localizedFailureReason && sameUnderlying;
}
