#include "FuzzSupport.h"

#include "palettes/GimpPalette.h"

// GIMP palettes are text files anyone may have edited, found in shared
// palette folders.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteReadResult read = GimpPalette::readColorList(FuzzSupport::bytes(data, size));
    // Names from the file are keys here only to be written: GIMP palettes
    // may repeat them, so each gets its position.
    ColorList list(read.name);
    for (qsizetype i = 0; i < read.colors.size(); ++i)
        list.setColor(QString::number(i) + read.colors[i].key, read.colors[i].color);
    // What was read writes to a file that reads back whole.
    const PaletteReadResult again = GimpPalette::readColorList(GimpPalette::writeColorList(list));
    if (!again.complete() || again.colors.size() != list.size())
        abort();
    return 0;
}
