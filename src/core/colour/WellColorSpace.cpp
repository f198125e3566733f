#include "WellColorSpace.h"

#include "ColorSpaceRegistry.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

WellColorSpace::WellColorSpace(UserDefaults& defaults, const ColorSpaceRegistry& spaces, QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , spaces(spaces)
    , space(ColorSpace::sRGB())
{
}

void WellColorSpace::update()
{
    ColorSpacePtr chosen = spaces.rgbSpaceNamed(defaults.stringForKey(DefaultsKeys::colorSpace));
    if (!chosen)
        chosen = ColorSpace::sRGB();
    space = std::move(chosen);
    Q_EMIT changed(space);
}
