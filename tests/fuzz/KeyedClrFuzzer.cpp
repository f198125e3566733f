#include "FuzzSupport.h"

#include "colour/ColorSpace.h"
#include "palettes/KeyedColorList.h"

// Keyed colour lists come from other machines and the web: every reference,
// count and component text in them is whatever the file says, and libplist
// builds its tree from them only after our check of the object table.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteReadResult read = KeyedColorList::readColorList(FuzzSupport::bytes(data, size));
    ColorList list(QStringLiteral("fuzz"));
    for (const ColorList::Entry& entry : read.colors) {
        if (!(entry.color.red() >= 0 && entry.color.red() <= 1) || !entry.color.space()->isSRGB())
            abort();
        list.setColor(entry.key, entry.color);
    }
    // What was read writes to a file that reads back whole, colour for colour.
    const PaletteReadResult again = KeyedColorList::readColorList(KeyedColorList::writeColorList(list));
    if (!again.complete() || again.colors.size() != list.size())
        abort();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (again.colors[i].color != list.entries()[i].color)
            abort();
    return 0;
}
