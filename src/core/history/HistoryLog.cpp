#include "HistoryLog.h"

#include "Log.h"

#include "HistoryStoreError.h"

namespace HistoryLog {

const QLoggingCategory& category()
{
    return lcHistory();
}

void fetchFailure(const HistoryStoreError& error)
{
    qCWarning(lcHistory).noquote() << "Unable to execute fetch request.";
    qCWarning(lcHistory).noquote() << QStringLiteral("%1, %2").arg(error.description(), error.localizedDescription);
}

void contextSaveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHistory).noquote() << QStringLiteral("Could not save context: %1").arg(error.description());
}

void parentContextSaveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHistory).noquote() << QStringLiteral("Could not save parent context: %1").arg(error.description());
}

void saveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHistory).noquote()
        << QStringLiteral("CoreData error: %1, %2").arg(error.description(), error.userInfoDescription());
}

void unresolvedError(const HistoryStoreError& error)
{
    qCCritical(lcHistory).noquote()
        << QStringLiteral("Unresolved error %1, %2").arg(error.description(), error.userInfoDescription());
}

void damagedStoreMovedAside(const QString& path, const QString& movedTo, const HistoryStoreError& damage)
{
    qCCritical(lcHistory).noquote()
        << QStringLiteral("The history store %1 is damaged (%2); it was moved to %3 and a new one started.")
               .arg(path, damage.localizedDescription, movedTo);
}

void damagedStoreKept(const QString& path, const HistoryStoreError& damage, const QString& reason)
{
    qCCritical(lcHistory).noquote() << QStringLiteral("The history store %1 is damaged (%2) and cannot be moved aside: %3")
                                           .arg(path, damage.localizedDescription, reason);
}

} // namespace HistoryLog
