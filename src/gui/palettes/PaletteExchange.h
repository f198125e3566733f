#pragma once

#include "palettes/PaletteListModel.h"

#include "palettes/PaletteFile.h"
#include "palettes/PaletteImport.h"

#include <QStringList>

#include <memory>

class ColorListStore;
class NameLookup;
class QMimeData;
class QTemporaryDir;
class WellColorSpace;

// Palettes in and out of the palettes window as files: export to a file the
// user picks, import of files and folders, and the files a row dragged out
// of the window becomes.
class PaletteExchange
{
public:
    PaletteExchange(ColorListStore& store, const WellColorSpace& well, NameLookup& names);
    ~PaletteExchange();

    // ".clr", ".ase", ".json", ".gpl".
    static QString extension(PaletteFile::Format format);
    // The palette's name as a file name of that format: what the save
    // dialog proposes and what a dragged row is called.
    static QString fileNameFor(const QString& paletteName, PaletteFile::Format format);

    // The palette written to `path`, which the user chose in a dialog that
    // asked before replacing a file: the format's extension is added to a
    // path without it, but then a file of that name is not replaced. Empty
    // on success, otherwise "file: reason".
    QString exportPalette(const PaletteEntry& palette, QString path, PaletteFile::Format format) const;

    struct ImportReport
    {
        QStringList imported; // the lists made, in the order of the files
        QStringList failures; // "file: reason" for each file not read whole
        int paletteFiles = 0; // files taken as palette files
    };
    ImportReport importPaths(const QStringList& paths) const;

    // The palettes as files in a folder of our own that lasts as long as
    // the program (a drop target may copy them after the window closed),
    // .clr or, with `gimp`, GIMP palettes.
    QMimeData* dragData(const QList<PaletteEntry>& palettes, bool gimp);

private:
    PaletteImport::NameForColor closestNames() const;

    ColorListStore& store;
    const WellColorSpace& well;
    NameLookup& names;
    std::unique_ptr<QTemporaryDir> dragFolder;
};
