#include "ColorHarmonies.h"

#include "colour/ColorSpace.h"
#include "colour/Hsb.h"
#include "colour/Lab.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <optional>

namespace ColorHarmonies {

const QString baseColor = QStringLiteral("Base Color");
const QString complementaryColors = QStringLiteral("Complementary Colors");
const QString splitComplementaryColors = QStringLiteral("Split Complementary Colors");
const QString analagousColors = QStringLiteral("Analagous Colors");
const QString triadicColors = QStringLiteral("Triadic Colors");
const QString tetradicColors = QStringLiteral("Tetradic Colors");
const QString monochromaticColors = QStringLiteral("Monochromatic Colors");

QStringList identifiers()
{
    return {baseColor,      complementaryColors, splitComplementaryColors, analagousColors,
            triadicColors, tetradicColors,      monochromaticColors};
}

QString title(const QString& identifier)
{
    // The identifiers are the translation keys; only the display spells
    // "Analogous" right.
    static const struct { const QString& identifier; const char* text; } titles[] = {
        {complementaryColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Complementary Colors")},
        {splitComplementaryColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Split Complementary Colors")},
        {analagousColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Analogous Colors")},
        {triadicColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Triadic Colors")},
        {tetradicColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Tetradic Colors")},
        {monochromaticColors, QT_TRANSLATE_NOOP("ColorHarmonies", "Monochromatic Colors")},
    };
    for (const auto& t : titles)
        if (t.identifier == identifier)
            return QCoreApplication::translate("ColorHarmonies", t.text);
    return QCoreApplication::translate("ColorHarmonies", "Base Color");
}

Color alterColor(const Color& color, double hueOffset)
{
    const HsbComponents hsb = hsbComponents(color);
    double hue = hsb.hue + hueOffset;
    hue -= std::trunc(hue);
    if (hue < 0)
        hue += 1;
    // Built in the colour's own space: the saturation and brightness were
    // measured there, and read as sRGB numbers they would name another
    // saturation and brightness in any other space.
    return colorWithHue(hue, hsb.saturation, hsb.brightness, color.space());
}

QList<Color> generateMonochromaticColors(const Color& color, const ColorSpacePtr& wellSpace)
{
    const std::optional<Color> srgb = ColorSpace::convert(color, ColorSpace::sRGB());
    if (!srgb)
        return {};
    const auto [red, green, blue] = srgb->integerComponents();
    // Only the chroma of the colour is kept; its own lightness is not used.
    const std::array<int, 3> lab = labFromRGB(red, green, blue);
    const int a = lab[1], b = lab[2];
    QList<Color> ramp;
    for (int L = 0; L <= 90; L += 10) {
        const auto [r, g, bl] = rgbFromLabUnclamped(L, a, b);
        const std::optional<Color> step = ColorSpace::convert(Color::fromIntegersSingle(r, g, bl), wellSpace);
        if (!step)
            return {};
        ramp << *step;
    }
    return ramp;
}

QList<Row> rows(const Color& color, const ColorSpacePtr& wellSpace)
{
    const Color base = ColorSpace::convert(color, wellSpace).value_or(color);
    const Color complement = alterColor(base, 1.0 / 2);
    QList<Color> ramp = generateMonochromaticColors(base, wellSpace);
    std::reverse(ramp.begin(), ramp.end()); // the lightest well first

    const QList<Color> wells[] = {
        {base},
        {base, complement},
        {base, alterColor(base, 5.0 / 12), alterColor(base, 7.0 / 12)},
        {base, alterColor(base, 1.0 / 12), alterColor(base, -1.0 / 12)},
        {base, alterColor(base, 1.0 / 3), alterColor(base, 2.0 / 3)},
        {base, alterColor(base, 1.0 / 4), complement, alterColor(base, 3.0 / 4)},
        ramp,
    };
    QList<Row> result;
    const QStringList ids = identifiers();
    for (qsizetype i = 0; i < ids.size(); ++i)
        result << Row{ids[i], title(ids[i]), wells[i]};
    return result;
}

} // namespace ColorHarmonies
