#include "StoredPaletteMigration.h"

#include "StoredPalettes.h"

#include "colour/WellColorSpace.h"
#include "palettes/HistoryPalettes.h"

StoredPaletteMigration::StoredPaletteMigration(HistoryStore& historyStore, ColorListStore& colorLists,
                                               const ColorSpaceRegistry& registry,
                                               const WellColorSpace& wellColorSpace, NameLookup& lookup)
    : history(historyStore)
    , store(colorLists)
    , spaces(registry)
    , well(wellColorSpace)
    , names(lookup)
{
}

void StoredPaletteMigration::migratePalettesFromCoreDataToClrFiles()
{
    HistoryPalettes::migratePalettesFromCoreDataToClrFiles(history, store, spaces, well.current(),
                                                           StoredPalettes::closestNames(names));
}
