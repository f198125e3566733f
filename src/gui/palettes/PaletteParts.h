#pragma once

#include "palettes/PaletteDialogs.h"
#include "palettes/PaletteExchange.h"

#include "colour/Color.h"
#include "palettes/ColorListStore.h"

#include <QList>

#include <functional>

class CurrentColors;
class NameLookup;
class Sandbox;
class UserDefaults;
class WellColorSpace;

// What the palettes window works with and what outlives it: a closed window
// costs nothing and is rebuilt on opening, but the deletions it can undo
// and the files of rows dragged out of it stay until the program ends.
struct PaletteParts
{
    PaletteParts(ColorListStore& store, const WellColorSpace& well, NameLookup& names, UserDefaults& defaults,
                 const Sandbox* sandbox)
        : store(store)
        , well(well)
        , names(names)
        , defaults(defaults)
        , sandbox(sandbox)
        , exchange(store, well, names)
    {
    }

    ColorListStore& store;
    const WellColorSpace& well;
    NameLookup& names;
    UserDefaults& defaults;
    const Sandbox* sandbox;
    PaletteExchange exchange;
    // The swatch column a palette goes into, and the main colour, which
    // stays what it is meanwhile.
    CurrentColors* swatches = nullptr;
    std::function<Color()> mainColor;
    PaletteDialogs dialogs = PaletteDialogs::desktop();
    // Each deletion's palettes, the last one last.
    QList<QList<ColorListStore::TrashedList>> deletions;
};
