#pragma once

#include "colour/Color.h"
#include "history/HistoryStore.h"

// Where a settled current colour becomes a dated history entry: the
// history store, or in tests a recorder that watches when the history timer
// fires.
class HistoryRecorder
{
public:
    virtual ~HistoryRecorder() = default;

    // Records `color` (already in the window's colour space) as a new entry.
    virtual void saveHistoryItem(const Color& color) = 0;
};

class StoreHistoryRecorder final : public HistoryRecorder
{
public:
    explicit StoreHistoryRecorder(HistoryStore& store) : store(store) {}
    void saveHistoryItem(const Color& color) override { store.saveHistoryItem(color); }

private:
    HistoryStore& store;
};
