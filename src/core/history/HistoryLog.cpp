#include "HistoryLog.h"

#include "HistoryStoreError.h"

namespace {
Q_LOGGING_CATEGORY(lcHuelark, "huelark")
}

namespace HistoryLog {

const QLoggingCategory& category()
{
    return lcHuelark();
}

void fetchFailure(const HistoryStoreError& error)
{
    qCWarning(lcHuelark).noquote() << "Unable to execute fetch request.";
    qCWarning(lcHuelark).noquote() << QStringLiteral("%1, %2").arg(error.description(), error.localizedDescription);
}

void contextSaveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHuelark).noquote() << QStringLiteral("Could not save context: %1").arg(error.description());
}

void parentContextSaveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHuelark).noquote() << QStringLiteral("Could not save parent context: %1").arg(error.description());
}

void saveFailure(const HistoryStoreError& error)
{
    qCWarning(lcHuelark).noquote()
        << QStringLiteral("CoreData error: %1, %2").arg(error.description(), error.userInfoDescription());
}

void unresolvedError(const HistoryStoreError& error)
{
    qCCritical(lcHuelark).noquote()
        << QStringLiteral("Unresolved error %1, %2").arg(error.description(), error.userInfoDescription());
}

} // namespace HistoryLog
