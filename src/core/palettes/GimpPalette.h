#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

// GIMP palettes (.gpl), the palette format GIMP, Inkscape and Krita share:
//
//   GIMP Palette
//   Name: Warm
//   Columns: 4
//   # comments
//   255   0   0	Red
//
// Components are sRGB integers 0 to 255; a colour's name is optional.
namespace GimpPalette {

// Reads liberally: LF or CR LF, tabs or spaces, a leading byte-order mark,
// "Name:" and "Columns:" anywhere, blank lines. Without "Name:" the name is
// empty. A line that is not a colour, or has a value outside 0 to 255, is
// skipped and the first such line is named in the error; the other colours
// are kept. Names are not made unique: that is the caller's key rule.
PaletteReadResult readColorList(const QByteArray& bytes);

// "Name:" is the list's name; one line "R G B<TAB>key" per colour in sRGB,
// each value right-aligned in three places as GIMP writes them.
QByteArray writeColorList(const ColorList& list);

} // namespace GimpPalette
