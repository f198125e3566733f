#pragma once

#include "PaletteReadResult.h"

#include <QByteArray>

// Colour-list files (.clr) in the older typed stream, which macOS still
// reads: after the signature "\x04\x0bstreamtyped" and a version, the number
// of colours, then per colour an NSColor object and its key as an NSString.
// Read only; new files are written in the keyed form (KeyedColorList).
namespace TypedStreamColorList {

// The colours of a file as sRGB colours, converted by the kind each colour
// names (see ClrColor; a named colour by its fallback colour). The file
// gives no list name. A colour that cannot be converted is skipped and named
// in the error; a stream that is damaged or cut short keeps the colours
// before the damage and says what is wrong.
PaletteReadResult readColorList(const QByteArray& bytes);

} // namespace TypedStreamColorList
