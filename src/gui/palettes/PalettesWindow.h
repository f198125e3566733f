#pragma once

#include "colour/Color.h"

#include <QList>

#include <functional>

class CurrentColors;

// The palettes window, created on first use and dropped when the main
// window closes, and the colour lists it keeps.
//
// `NoPalettesWindow` stands in where there are no palettes (tests of other
// parts): `available()` is false, so the window's button and commands stay
// disabled, the operations do nothing and there are no colour lists.
class PalettesWindow
{
public:
    virtual ~PalettesWindow() = default;

    virtual bool available() const = 0;
    virtual void openPalettesWindow() = 0;
    // Closes the window (if any) and drops it.
    virtual void releasePalettesWindow() = 0;
    // Saves the swatch column (`palette`, top first, in the window's colour
    // space) as a new colour list, opening the window first if need be.
    virtual void saveCurrentPalette(const QList<Color>& palette) = 0;
    // The colours of every available colour list with exactly `count`
    // entries, each in key order.
    virtual QList<QList<Color>> allPaletteArraysWithCount(int count) const = 0;
    // The swatch column a palette is put into, and the main colour, which
    // stays as it is meanwhile.
    virtual void setSwatches(CurrentColors& colors, std::function<Color()> mainColor)
    {
        Q_UNUSED(colors);
        Q_UNUSED(mainColor);
    }
};

class NoPalettesWindow final : public PalettesWindow
{
public:
    bool available() const override { return false; }
    void openPalettesWindow() override {}
    void releasePalettesWindow() override {}
    void saveCurrentPalette(const QList<Color>&) override {}
    QList<QList<Color>> allPaletteArraysWithCount(int) const override { return {}; }
};
