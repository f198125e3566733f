#pragma once

#include "Color.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class ColorSpaceRegistry;

// The one stored form of a colour (the current colour, the swatch column,
// palette records). Equal colours archive to equal bytes.
//
// Layout, all integers big-endian:
//   4 bytes  magic "HLC1"
//   2 bytes  length n of the colour space's name in UTF-8
//   n bytes  the name
//   4 x 8    red, green, blue, alpha as IEEE-754 binary64
// Nothing follows. Any other length, magic or a component that is not a
// finite number in 0..1 makes the bytes unreadable.
namespace ColorArchive {

QByteArray archive(const Color& color);

// The colour archived in `bytes`. A space the registry does not know (a
// profile removed since) reads the components as sRGB rather than losing the
// colour. Nothing for unreadable bytes.
std::optional<Color> unarchive(QByteArrayView bytes, const ColorSpaceRegistry& registry);

// The default colour when none is stored: red 154, green 162, blue 248 in sRGB.
Color defaultColor();

// `getColorFromData:withDefault:`: the archived colour, or `fallback` when
// the bytes are absent or unreadable, converted to `wellSpace`. Nothing only
// when that conversion fails.
std::optional<Color> getColorFromData(const QByteArray& bytes, const Color& fallback,
                                      const ColorSpaceRegistry& registry, const ColorSpacePtr& wellSpace);

} // namespace ColorArchive
