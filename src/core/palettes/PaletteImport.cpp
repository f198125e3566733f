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

namespace {

Result save(ColorListStore& store, const PaletteReadResult& read, const NameForColor& closestName,
            const ColorSpacePtr& wellSpace)
{
    Result result;
    result.error = read.error;
    if (read.colors.isEmpty()) {
        if (result.error.isEmpty())
            result.error = QStringLiteral("the palette has no colours");
        return result;
    }
    const QString name = ColorListNaming::getOriginalName(read.name, store.takenNames());
    if (const QString error = store.saveColorList(listFromFile(read, name, closestName, wellSpace)); !error.isEmpty())
        result.error = error;
    else
        result.listName = name;
    return result;
}

} // namespace

Result importFile(ColorListStore& store, const QString& path, const NameForColor& closestName,
                  const ColorSpacePtr& wellSpace)
{
    return save(store, PaletteFile::read(path), closestName, wellSpace);
}

Result saveColors(ColorListStore& store, const QString& wanted, const QList<Color>& colors,
                  const NameForColor& closestName, const ColorSpacePtr& wellSpace)
{
    PaletteReadResult read;
    read.name = wanted;
    for (const Color& color : colors)
        read.colors.append({QString(), color});
    return save(store, read, closestName, wellSpace);
}

} // namespace PaletteImport
