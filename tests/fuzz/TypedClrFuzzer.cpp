#include "FuzzSupport.h"

#include "colour/ColorSpace.h"
#include "palettes/KeyedColorList.h"
#include "palettes/TypedStreamColorList.h"

// Typed-stream colour lists are old files from anywhere: counts, lengths,
// class chains and back references are whatever the stream says.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteReadResult read = TypedStreamColorList::readColorList(FuzzSupport::bytes(data, size));
    ColorList list(QStringLiteral("fuzz"));
    for (const ColorList::Entry& entry : read.colors) {
        if (!(entry.color.green() >= 0 && entry.color.green() <= 1) || !entry.color.space()->isSRGB())
            abort();
        list.setColor(entry.key, entry.color);
    }
    // A list read from the old form is saved in the keyed one and reads back.
    const PaletteReadResult again = KeyedColorList::readColorList(KeyedColorList::writeColorList(list));
    if (!again.complete() || again.colors.size() != list.size())
        abort();
    return 0;
}
