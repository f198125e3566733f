#pragma once

#include "ColorList.h"

#include <QList>
#include <QStringList>

// The fixed lists every user has: "Web Safe Colors" (the 216 colours whose
// components are multiples of 51), "CSS Colors" (the 148 named colours of
// CSS, built in) and every GIMP palette installed for GIMP, Inkscape or Krita
// in the system data folders.
namespace SystemColorLists {

ColorList webSafeColors();
ColorList cssColors();

// The folders of installed GIMP palettes: gimp/2.0/palettes,
// inkscape/palettes and krita/palettes under each folder of
// $XDG_DATA_DIRS, in that order. Only the system folders: the user's own
// data folder holds our mirrors, which must not come back as lists.
QStringList installedPaletteFolders();

// The readable palettes of those folders (file-name order within a folder),
// each named by its "Name:" line or else its file name. A name already given
// to an earlier list is skipped.
QList<ColorList> installedPalettes();

// All of them, the two built-in lists first.
QList<ColorList> all();

} // namespace SystemColorLists
