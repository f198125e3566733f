#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

// Huelark's own JSON palette:
//
//   { "paletteName": "Warm", "colors": [ "#ff0000", "#0000ff" ] }
//
// Codes are sRGB, "#" and six lowercase digits. Colour names are not stored.
namespace JsonPalette {

// The palette's name and its colours as sRGB colours, with empty keys (the
// caller names them). A file that is not a JSON object or lacks a string
// "paletteName" or an array "colors" is refused; an element of "colors" that
// is not a string holding a hex code is skipped and the first one named in
// the error.
PaletteReadResult readColorList(const QByteArray& bytes);

// The object of `list`, pretty printed, each colour converted to sRGB.
QByteArray writeColorList(const ColorList& list);

} // namespace JsonPalette
