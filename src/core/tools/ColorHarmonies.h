#pragma once

#include "colour/Color.h"

#include <QList>
#include <QString>
#include <QStringList>

// The colours the tool window derives from the current colour: the base
// colour itself, five hue harmonies and a ten-step lightness ramp, one row
// each. Plain values, computed on the calling thread; the window and
// `huelark-cli harmonies` both show exactly these.
namespace ColorHarmonies {

// The row identifiers, in row order. They are fixed, untranslated strings
// that travel in notifications and scripts, and keep the historical
// spelling "Analagous Colors".
extern const QString baseColor;                // "Base Color"
extern const QString complementaryColors;      // "Complementary Colors"
extern const QString splitComplementaryColors; // "Split Complementary Colors"
extern const QString analagousColors;          // "Analagous Colors"
extern const QString triadicColors;            // "Triadic Colors"
extern const QString tetradicColors;           // "Tetradic Colors"
extern const QString monochromaticColors;      // "Monochromatic Colors"

// The seven identifiers above, in row order.
QStringList identifiers();

// What a row's label shows: the translated, correctly spelled title of the
// six harmony rows ("Analogous Colors"), and "Base Color" for any other
// identifier.
QString title(const QString& identifier);

struct Row
{
    QString identifier; // one of the identifiers above
    QString title;      // title(identifier)
    QList<Color> colors; // in well order
};

// Every row for `color`, in row order. The colour is first moved to
// `wellSpace` (kept as it is when it cannot be); that is the base colour B.
// Colours in well order:
//   Base Color                  B
//   Complementary Colors        B, B turned by 1/2
//   Split Complementary Colors  B, 5/12, 7/12
//   Analagous Colors            B, 1/12, -1/12
//   Triadic Colors              B, 1/3, 2/3
//   Tetradic Colors             B, 1/4, 1/2, 3/4
//   Monochromatic Colors        the ramp lightest first: elements 9, 8, ..., 0
//                               (empty when B has no sRGB form)
QList<Row> rows(const Color& color, const ColorSpacePtr& wellSpace);

// The colour whose hue is that of `color` turned by `hueOffset` (in turns,
// may be negative), with the same saturation and brightness. Both are read
// and the result is built in the colour's own space, so that they measure
// the same there as in the base (hues turn in that space's RGB).
Color alterColor(const Color& color, double hueOffset);

// Ten colours of `color`'s chroma (a* and b*, rounded) at L* 0, 10, ..., 90,
// darkest first, in `wellSpace`. The components are rounded to 8 bits in
// sRGB and not clamped: strongly saturated colours give components below 0
// or above 1 at the ends, handed as they are to the move into `wellSpace`
// (which, into any space but sRGB, clamps). Empty when `color` has no sRGB
// form or a step cannot be moved into `wellSpace`.
QList<Color> generateMonochromaticColors(const Color& color, const ColorSpacePtr& wellSpace);

} // namespace ColorHarmonies
