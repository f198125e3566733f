#pragma once

// The palettes window, created on first use and dropped when the main
// window closes.
//
// The palettes window arrives in a later change. Until then the program runs
// with `NoPalettesWindow`: `available()` is false, so the window's button and
// commands stay disabled, and the operations do nothing.
class PalettesWindow
{
public:
    virtual ~PalettesWindow() = default;

    virtual bool available() const = 0;
    virtual void openPalettesWindow() = 0;
    // Closes the window (if any) and drops it.
    virtual void releasePalettesWindow() = 0;
};

class NoPalettesWindow final : public PalettesWindow
{
public:
    bool available() const override { return false; }
    void openPalettesWindow() override {}
    void releasePalettesWindow() override {}
};
