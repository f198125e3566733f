#include "FirstStartValues.h"

#include "Log.h"

#include "DefaultsKeys.h"
#include "Paths.h"
#include "UserDefaults.h"
#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/ColorSpaceRegistry.h"


#include <array>

namespace {
// The swatch column of a new user, top to bottom, as sRGB integers.
constexpr std::array<std::array<int, 3>, 8> defaultSwatches { {
    { 255, 249, 190 },
    { 214, 249, 165 },
    { 169, 248, 183 },
    { 165, 249, 221 },
    { 157, 221, 252 },
    { 154, 162, 248 },
    { 227, 186, 250 },
    { 249, 198, 176 },
} };
} // namespace

namespace FirstStartValues {

void initializeDefaults(UserDefaults& defaults)
{
    defaults.loadRegisteredDefaults();
    if (!defaults.hasUserValue(DefaultsKeys::userFolder))
        defaults.setString(Paths::realHomeDirectory(), DefaultsKeys::userFolder);
    defaults.synchronize();
}

void setDefaultColors(UserDefaults& defaults, const ColorSpacePtr& wellColorSpace)
{
    if (defaults.hasUserValue(DefaultsKeys::currentColors))
        return;

    const ColorSpacePtr target = wellColorSpace ? wellColorSpace : ColorSpace::sRGB();
    QVariantList archives;
    bool conversionFailed = false;
    for (const auto& [red, green, blue] : defaultSwatches) {
        const Color sRGBColor = Color::fromIntegers(red, green, blue);
        std::optional<Color> converted = ColorSpace::convert(sRGBColor, target);
        if (!converted) {
            // A swatch in sRGB is better than a column with a hole in it.
            conversionFailed = true;
            converted = sRGBColor;
        }
        archives.append(ColorArchive::archive(*converted));
    }
    if (conversionFailed)
        qCWarning(lcSettings, "cannot convert the default swatches to %s; kept in sRGB", qPrintable(target->name()));
    defaults.setArray(archives, DefaultsKeys::currentColors);
    defaults.synchronize();
}

void setDefaultColorSpaces(UserDefaults& defaults, const ColorSpaceRegistry& registry)
{
    if (defaults.hasUserValue(DefaultsKeys::CMYKcolorSpace))
        return;
    if (registry.cmykSpaces().empty()) {
        // Nothing to name; the CMYK fields fall back on their own.
        qCWarning(lcSettings, "no CMYK colour space available");
        return;
    }
    defaults.setString(registry.cmykSpaces().front()->name(), DefaultsKeys::CMYKcolorSpace);
    defaults.synchronize();
}

} // namespace FirstStartValues
