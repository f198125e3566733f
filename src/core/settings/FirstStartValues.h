#pragma once

#include "colour/Color.h"

class ColorSpaceRegistry;
class UserDefaults;

// The settings the program writes itself on a first start. Each is written
// only while its key has no value at all: a value the user has, even an empty
// one, is never replaced. Every write is flushed at once.
namespace FirstStartValues {

// Registers the built-in defaults and records the user's real home folder in
// `userFolder` when it has none.
void initializeDefaults(UserDefaults& defaults);

// `currentColors`: the default swatches converted to `wellColorSpace` (sRGB
// when null), archived, in order.
void setDefaultColors(UserDefaults& defaults, const ColorSpacePtr& wellColorSpace);

// `CMYKcolorSpace`: the name of the first CMYK space the registry offers.
void setDefaultColorSpaces(UserDefaults& defaults, const ColorSpaceRegistry& registry);

} // namespace FirstStartValues
