#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

// Adobe Swatch Exchange (.ase): a header ("ASEF", version, block count) and
// blocks of a type and a length, big-endian throughout. Groups are skipped on
// reading, so every colour of every group lands in one list in file order;
// the writer puts the whole list into one group named after it.
namespace AdobeSwatchExchange {

// The colours of a file, all as sRGB colours: RGB as stored, CMYK by the
// formula of the built-in "Generic CMYK", Lab (D50) through LittleCMS, grey
// as an equal mix. A colour without a name is named by its code
// ("#%02X%02X%02X", components truncated); a name already taken gets " 1",
// " 2"... So every key is unique. The file gives no palette name.
// Models other than those four are skipped; a damaged or cut-short file
// keeps the colours of its complete blocks and reports the damage.
PaletteReadResult readColorList(const QByteArray& bytes);

// The bytes of the file of `list`: colours in sRGB, model "RGB ", type
// normal, in one group named after the list.
QByteArray writeColorList(const ColorList& list);

} // namespace AdobeSwatchExchange
