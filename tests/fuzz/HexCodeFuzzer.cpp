#include "FuzzSupport.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

#include <QString>

// Hex codes come from the user's typing, dropped text, palettes and the
// command line: any text at all.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(FuzzSupport::bytes(data, size));
    for (bool unit : {false, true}) {
        if (const std::optional<QString> code = HexCodec::normalizedHEXcodeFromHEXvalue(text, unit))
            HexCodec::isValidHEX(*code);
        HexCodec::fixHexfieldLength(text, unit, !unit);
        HexCodec::displayedForm(text, unit, unit);
    }
    HexCodec::isValidHEX(text);
    HexCodec::fieldText(text, true);
    if (const std::optional<Color> color = HexCodec::colorWithHexColorString(text, ColorSpace::sRGB())) {
        // A code read is a colour, and every colour has a code.
        if (!HexCodec::hexCodeForColor(*color, ColorSpace::sRGB()))
            abort();
    }
    return 0;
}
