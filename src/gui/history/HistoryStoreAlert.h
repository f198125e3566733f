#pragma once

#include "history/HistoryStore.h"

class QWidget;
struct HistoryStoreError;

// What the user is told about the history store at start.
namespace HistoryStoreAlert {

// The one error the program cannot go on from, a history store that does
// not open, shown before the program ends: the error's description as the
// message, its reason and the store's file beneath, the error behind it in
// the details.
void presentError(const HistoryStoreError& error, const QString& storePath, QWidget* parent = nullptr);

// The store was damaged and a fresh one started: where the old one is kept,
// and what was wrong with it.
void presentRecovery(const HistoryStore::Recovery& recovery, QWidget* parent = nullptr);

// Opens the store and tells the user what happened to it: a recovery, or
// the error that keeps it closed. False when it did not open.
bool openStore(HistoryStore& store, QWidget* parent = nullptr);

} // namespace HistoryStoreAlert
