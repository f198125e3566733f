#include "HistoryWriter.h"

#include "DayFormat.h"
#include "HistoryLog.h"

HistoryWriter::HistoryWriter(const QString& filePath, ClosestName closestName)
    : filePath(filePath)
    , closestName(std::move(closestName))
{
}

std::optional<NewHistoryItem> HistoryWriter::save(const PendingHistoryItem& pending)
{
    if (!database.isOpen()) {
        if (std::optional<HistoryStoreError> error = database.open(filePath, HistoryDatabase::Access::ReadWrite)) {
            HistoryLog::contextSaveFailure(*error);
            return std::nullopt;
        }
    }

    NewHistoryItem item;
    item.name = closestName ? closestName(pending.color) : QString();
    // One instant for both: an entry made a moment before midnight is filed
    // under the day its time says.
    item.day = DayFormat::dayString(pending.now.date(), pending.locale);
    item.saved = pending.now;
    item.last = pending.last;
    item.colors = pending.colors;

    using Outcome = HistoryDatabase::SaveResult::Outcome;
    const HistoryDatabase::SaveResult result = database.insert({&item, 1});
    switch (result.outcome) {
    case Outcome::ContextSaveFailed:
        HistoryLog::contextSaveFailure(*result.error);
        return std::nullopt;
    case Outcome::ParentSaveFailed:
        HistoryLog::parentContextSaveFailure(*result.error);
        return std::nullopt;
    case Outcome::Saved:
        break;
    }
    // The day could not be looked up: logged, and nothing was added.
    if (result.added == 0)
        return std::nullopt;
    return item;
}
