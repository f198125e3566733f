#pragma once

#include "ColorList.h"
#include "PaletteImport.h"

#include <QString>

// A list written to a file of the user's choosing, as the palettes window
// and `huelark-cli palette export` both do it.
namespace PaletteExport {

// The list as a file of `path`'s format holds it. A .clr file names each
// colour anew by its closest name, keys made unique, as the colour panel of
// the Mac shows such a file; the other formats keep the list's own keys.
ColorList listForPath(const ColorList& list, const QString& path, const PaletteImport::NameForColor& closestName,
                      const ColorSpacePtr& wellSpace);

// Writes it there, replacing an existing file atomically: the user has
// been asked already, and a failed export leaves the old file whole. Empty
// on success, otherwise the reason.
QString exportList(const ColorList& list, const QString& path, const PaletteImport::NameForColor& closestName,
                   const ColorSpacePtr& wellSpace);

} // namespace PaletteExport
