#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

// Colour-list files (.clr), the lists macOS keeps in ~/Library/Colors and
// its colour panel shows. Two forms exist: the keyed archive current macOS
// writes (KeyedColorList) and the older typed stream (TypedStreamColorList).
namespace ClrFormat {

// Reads either form, told apart by its first bytes ("bplist00" or
// "\x04\x0bstreamtyped"); anything else is refused. See the two forms for
// what is read and how damage is reported. The file gives no list name.
PaletteReadResult readColorList(const QByteArray& bytes);

// The keyed form, which every macOS reads.
QByteArray writeColorList(const ColorList& list);

} // namespace ClrFormat
