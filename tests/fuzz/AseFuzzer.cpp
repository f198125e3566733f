#include "FuzzSupport.h"

#include "palettes/AdobeSwatchExchange.h"

// Swatch exchange files come from other programs and the web: every count,
// length and value in them is whatever the file says.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteReadResult read = AdobeSwatchExchange::readColorList(FuzzSupport::bytes(data, size));
    ColorList list(QStringLiteral("fuzz"));
    for (const ColorList::Entry& entry : read.colors) {
        // Keys are unique and colours are colours.
        if (list.contains(entry.key) || !(entry.color.red() >= 0 && entry.color.red() <= 1))
            abort();
        list.setColor(entry.key, entry.color);
    }
    // What was read writes to a file that reads back whole.
    const PaletteReadResult again = AdobeSwatchExchange::readColorList(AdobeSwatchExchange::writeColorList(list));
    if (!again.complete() || again.colors.size() != list.size())
        abort();
    return 0;
}
