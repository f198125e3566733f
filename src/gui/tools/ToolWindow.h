#pragma once

#include "colour/Color.h"

#include <functional>

class CurrentColors;

// The tool window (colour harmonies and image palettes), created on first
// use and dropped when the main window closes.
//
// `NoToolWindow` stands in where there is none (tests of other parts):
// `available()` is false, so the window's button stays disabled, it is never
// open and the operations do nothing.
class ToolWindow
{
public:
    virtual ~ToolWindow() = default;

    virtual bool available() const = 0;
    virtual bool isOpen() const = 0;
    virtual void openToolWindow() = 0;
    // Closes the window (if any) and drops it.
    virtual void releaseToolWindow() = 0;
    // The current colour changed: recompute the harmony rows.
    virtual void updateToolSwatches() = 0;
    // The swatch column the rows go into, the main colour (which stays as
    // it is meanwhile) and a way to show the column's last swatch.
    virtual void setSwatches(CurrentColors& colors, std::function<Color()> mainColor,
                             std::function<void()> showLastSwatch)
    {
        Q_UNUSED(colors);
        Q_UNUSED(mainColor);
        Q_UNUSED(showLastSwatch);
    }
};

class NoToolWindow final : public ToolWindow
{
public:
    bool available() const override { return false; }
    bool isOpen() const override { return false; }
    void openToolWindow() override {}
    void releaseToolWindow() override {}
    void updateToolSwatches() override {}
};
