#pragma once

#include <QLoggingCategory>
#include <QString>

struct HistoryStoreError;

// The history store's log lines, under the program's "huelark" category. The
// texts are fixed: people search logs for them.
namespace HistoryLog {

const QLoggingCategory& category();

// "Unable to execute fetch request." then "<error>, <description>".
void fetchFailure(const HistoryStoreError& error);
// "Could not save context: <error>": recording an entry failed, nothing of
// it was kept.
void contextSaveFailure(const HistoryStoreError& error);
// "Could not save parent context: <error>": the entry could not be made
// durable and was rolled back.
void parentContextSaveFailure(const HistoryStoreError& error);
// "CoreData error: <error>, <user info>": clearing the history failed.
void saveFailure(const HistoryStoreError& error);
// "Unresolved error <error>, <user info>": the store cannot be opened.
void unresolvedError(const HistoryStoreError& error);
// The store was damaged; it was moved to `movedTo` and a fresh one started.
void damagedStoreMovedAside(const QString& path, const QString& movedTo, const HistoryStoreError& damage);
// The store is damaged and could not be moved aside (`reason`).
void damagedStoreKept(const QString& path, const HistoryStoreError& damage, const QString& reason);

} // namespace HistoryLog
