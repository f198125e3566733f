#include "FuzzSupport.h"

#include "colour/ColorSpace.h"

// Any file in the colour folders is read as a profile when the registry
// scans them; a profile that loads is then used for every conversion.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::shared_ptr<ColorSpace> space =
        ColorSpace::fromICCProfile(FuzzSupport::bytes(data, size), QStringLiteral("fuzzed"));
    if (!space)
        return 0;
    for (const Color& colour : {Color::fromIntegers(0, 0, 0), Color::fromIntegers(255, 128, 1)}) {
        if (space->model() == ColorSpace::Model::RGB) {
            if (const std::optional<Color> there = ColorSpace::convert(colour, space))
                ColorSpace::convert(*there, ColorSpace::sRGB());
        } else {
            ColorSpace::cmykComponents(colour, *space);
        }
    }
    return 0;
}
