#pragma once

#include "PaletteMigration.h"

class ColorListStore;
class ColorSpaceRegistry;
class HistoryStore;
class NameLookup;
class WellColorSpace;

// The one-time move of the history store's old palettes into the colour-list
// store (see HistoryPalettes).
class StoredPaletteMigration final : public PaletteMigration
{
public:
    StoredPaletteMigration(HistoryStore& history, ColorListStore& store, const ColorSpaceRegistry& spaces,
                           const WellColorSpace& wellColorSpace, NameLookup& names);

    void migratePalettesFromCoreDataToClrFiles() override;

private:
    HistoryStore& history;
    ColorListStore& store;
    const ColorSpaceRegistry& spaces;
    const WellColorSpace& well;
    NameLookup& names;
};
