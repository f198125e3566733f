#include "HistoryWriter.h"

#include "DayFormat.h"
#include "HistoryLog.h"

#include <QThread>

HistoryWriter::HistoryWriter(const QString& filePath, ClosestName closestName, Saved saved)
    : filePath(filePath)
    , closestName(std::move(closestName))
    , saved(std::move(saved))
{
    thread.reset(QThread::create([this] { run(); }));
    thread->setObjectName(QStringLiteral("history writer"));
    thread->start();
}

HistoryWriter::~HistoryWriter()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread->wait();
}

void HistoryWriter::enqueue(PendingHistoryItem item)
{
    {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(item));
    }
    changed.notify_all();
}

void HistoryWriter::waitUntilIdle()
{
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return queue.empty() && !busy; });
}

void HistoryWriter::run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !queue.empty(); });
        // Stopping still drains the queue: nothing handed over is dropped.
        if (queue.empty())
            return;
        const PendingHistoryItem item = std::move(queue.front());
        queue.pop_front();
        busy = true;
        lock.unlock();
        if (const std::optional<NewHistoryItem> written = save(item); written && saved)
            saved(*written);
        lock.lock();
        busy = false;
        changed.notify_all();
    }
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
