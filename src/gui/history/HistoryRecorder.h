#pragma once

#include "colour/Color.h"

// Where a settled current colour becomes a dated history entry.
//
// The history store arrives in a later change. Until then the program runs
// with `NoHistoryRecorder`, which records nothing and shows nothing; tests
// plug in their own recorder to watch when the history timer fires.
class HistoryRecorder
{
public:
    virtual ~HistoryRecorder() = default;

    // Records `color` (already in the window's colour space) as a new entry.
    virtual void updateHistoryAndSetColor(const Color& color) = 0;
};

class NoHistoryRecorder final : public HistoryRecorder
{
public:
    void updateHistoryAndSetColor(const Color&) override {}
};
