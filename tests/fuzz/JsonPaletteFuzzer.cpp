#include "FuzzSupport.h"

#include "palettes/JsonPalette.h"

// JSON palettes are imported from anywhere; members may be missing or of
// any type.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteReadResult read = JsonPalette::readColorList(FuzzSupport::bytes(data, size));
    ColorList list(read.name);
    for (qsizetype i = 0; i < read.colors.size(); ++i)
        list.setColor(QString::number(i), read.colors[i].color);
    // What was read writes to a file that reads back whole, with the same
    // colours.
    const PaletteReadResult again = JsonPalette::readColorList(JsonPalette::writeColorList(list));
    if (!again.complete() || again.colors.size() != list.size())
        abort();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (again.colors[i].color != read.colors[i].color)
            abort();
    return 0;
}
