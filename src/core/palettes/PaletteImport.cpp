#include "PaletteImport.h"

#include "ColorListNaming.h"
#include "ColorListStore.h"
#include "PaletteFile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

QList<FileResult> importPaths(ColorListStore& store, const QStringList& paths, const NameForColor& closestName,
                              const ColorSpacePtr& wellSpace)
{
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList inFolder = QDir(path).entryList(QDir::Files | QDir::Readable);
        QCollator order;
        order.setNumericMode(true);
        std::sort(inFolder.begin(), inFolder.end(), order);
        for (const QString& name : std::as_const(inFolder))
            files << QDir(path).filePath(name);
    }
    QList<FileResult> results;
    for (const QString& file : std::as_const(files))
        if (PaletteFile::formatForPath(file))
            results.append({file, importFile(store, file, closestName, wellSpace)});
    return results;
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
