#pragma once

#include "PaletteImport.h"

class ColorListStore;
class ColorSpaceRegistry;
class HistoryStore;

// The palettes older versions kept in the history store, nine colours each,
// moved into colour lists once: at each start whatever records are left
// become lists and are deleted.
namespace HistoryPalettes {

// Each record becomes a list under its name ("palette" when it has none; a
// taken name gets " (2)"...),
// its colours in the order color_last, color_1 ... color_8, missing or
// unreadable ones skipped, each in `wellSpace` under its closest name with
// the key rule of ColorListNaming. A record is deleted only once its list is
// written; one whose list cannot be written stays for the next start.
// Answers the number of lists written.
int migratePalettesFromCoreDataToClrFiles(HistoryStore& history, ColorListStore& store,
                                          const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace,
                                          const PaletteImport::NameForColor& closestName);

} // namespace HistoryPalettes
