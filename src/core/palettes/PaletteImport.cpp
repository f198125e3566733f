#include "PaletteImport.h"

#include "ColorListNaming.h"
#include "ColorListStore.h"
#include "PaletteFile.h"

namespace PaletteImport {

ColorList listFromFile(const PaletteReadResult& read, const QString& name, const NameForColor& closestName,
                       const ColorSpacePtr& wellSpace)
{
    return ColorListNaming::listWithUniqueKeys(name, read.colors, closestName, wellSpace);
}

Result importFile(ColorListStore& store, const QString& path, const NameForColor& closestName,
                  const ColorSpacePtr& wellSpace)
{
    const PaletteReadResult read = PaletteFile::read(path);
    Result result;
    result.error = read.error;
    if (read.colors.isEmpty()) {
        if (result.error.isEmpty())
            result.error = QStringLiteral("the palette has no colours");
        return result;
    }
    const QString name = ColorListNaming::getOriginalName(read.name, store.takenNames());
    const QString error = store.saveColorList(listFromFile(read, name, closestName, wellSpace));
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    result.listName = name;
    return result;
}

} // namespace PaletteImport
