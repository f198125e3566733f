#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QString>

#include <functional>

class ColorListStore;

// A palette file made a list of the store, as the palettes window imports
// one: a name no list has yet, each colour in the window's space under its
// own key or, when the file gives none, its closest colour name, keys made
// unique, written and mirrored.
namespace PaletteImport {

// The closest colour name of a colour in the window's space; the program
// fills it from its name cache, the command line from the names database.
using NameForColor = std::function<QString(const Color&)>;

// The list a file's colours make, named `name` (the keys as above).
ColorList listFromFile(const PaletteReadResult& read, const QString& name, const NameForColor& closestName,
                       const ColorSpacePtr& wellSpace);

struct Result
{
    QString listName; // the list made; empty when none was
    QString error;    // what went wrong; a damaged file may give both
};

// No list for a file without a colour.
Result importFile(ColorListStore& store, const QString& path, const NameForColor& closestName,
                  const ColorSpacePtr& wellSpace);

struct FileResult
{
    QString path;
    Result result;
};

// Several paths as one import, in the order given; a folder stands for the
// palette files directly in it, in name order. Files that are not palette
// files by their extension are skipped and not in the result.
QList<FileResult> importPaths(ColorListStore& store, const QStringList& paths, const NameForColor& closestName,
                              const ColorSpacePtr& wellSpace);

// `colors` (the swatch column, top first) as a new list: the name `wanted`
// or the first free "wanted (2)"..., colours keyed by closest name. No list
// without a colour.
Result saveColors(ColorListStore& store, const QString& wanted, const QList<Color>& colors,
                  const NameForColor& closestName, const ColorSpacePtr& wellSpace);

} // namespace PaletteImport
