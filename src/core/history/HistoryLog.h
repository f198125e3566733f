#pragma once

#include <QLoggingCategory>

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

} // namespace HistoryLog
