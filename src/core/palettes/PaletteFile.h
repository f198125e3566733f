#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A palette file on disk, its format told by its extension (any letter
// case): .clr, .ase, .json or .gpl. The codecs turn bytes into lists; this is
// where paths meet them.
namespace PaletteFile {

enum class Format { clr, ase, json, gpl };

std::optional<Format> formatForPath(const QString& path);

// The file read by its extension. `name` is always filled: the file's own
// name for a palette (JSON "paletteName", GIMP "Name:"), otherwise the file
// name without its extension, as it stands (the store decodes its own). An
// unknown extension or an unreadable file is refused with the reason.
PaletteReadResult read(const QString& path);

// Writes `list` to `path` in the format of its extension, atomically. An
// existing file is refused unless `replace`. Empty on success, otherwise
// the reason.
QString write(const QString& path, const ColorList& list, bool replace);

// Writes beside `path`, flushes and renames over it: a crash or a full disk
// leaves the old file whole. Empty on success, otherwise the reason.
QString writeAtomically(const QString& path, const QByteArray& bytes);

} // namespace PaletteFile
