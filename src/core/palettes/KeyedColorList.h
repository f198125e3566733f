#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

// Colour-list files (.clr) as current macOS writes them: a keyed archive in
// a binary property list. `$objects` is a flat table of objects that refer
// to one another by number (CF$UID); `$top` names two of them, NSKeys (the
// keys in list order) and NSColors (one NSColor per key).
namespace KeyedColorList {

// The colours of a file, all as sRGB colours. A colour that carries an ICC
// profile (NSCustomColorSpace) and components in it (NSComponents) is
// converted through that profile; any other by the kind it names
// (NSColorSpace, see ClrColor), a named colour by its fallback colour. The
// file gives no list name. A colour that cannot be read is skipped and named
// in the error; the others are kept. A file whose property list or archive
// is damaged is refused with what is wrong.
PaletteReadResult readColorList(const QByteArray& bytes);

// The bytes of the file of `list`, laid out object for object as macOS lays
// it out: each colour in sRGB, as components with an embedded sRGB profile
// and, for readers without profiles, as calibrated RGB.
QByteArray writeColorList(const ColorList& list);

} // namespace KeyedColorList
