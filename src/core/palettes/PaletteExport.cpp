#include "PaletteExport.h"

#include "ColorListNaming.h"
#include "PaletteFile.h"

namespace PaletteExport {

ColorList listForPath(const ColorList& list, const QString& path, const PaletteImport::NameForColor& closestName,
                      const ColorSpacePtr& wellSpace)
{
    if (PaletteFile::formatForPath(path) != PaletteFile::Format::clr)
        return list;
    QList<ColorList::Entry> unnamed;
    for (const ColorList::Entry& entry : list.entries())
        unnamed.append({QString(), entry.color});
    return ColorListNaming::listWithUniqueKeys(list.name(), unnamed, closestName, wellSpace);
}

QString exportList(const ColorList& list, const QString& path, const PaletteImport::NameForColor& closestName,
                   const ColorSpacePtr& wellSpace)
{
    return PaletteFile::write(path, listForPath(list, path, closestName, wellSpace), true);
}

} // namespace PaletteExport
