#include "CCColorCube.h"

#include "colour/ColorSpace.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int axis = ColorHistogram::cellsPerAxis;

double distance(const CCLocalMaximum& m, double red, double green, double blue)
{
    const double dr = m.red - red, dg = m.green - green, db = m.blue - blue;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

CCColorCube::Maxima filterNear(const CCColorCube::Maxima& maxima, double red, double green, double blue)
{
    CCColorCube::Maxima kept;
    for (const CCLocalMaximum& m : maxima)
        if (distance(m, red, green, blue) >= 0.5)
            kept.push_back(m);
    return kept;
}

} // namespace

void CCColorCube::clearCells()
{
    cube.clear();
}

CCColorCube::Maxima CCColorCube::findLocalMaxima() const
{
    Maxima maxima;
    // Red outermost, blue innermost: the order maxima of equal counts keep.
    for (int r = 0; r < axis; ++r) {
        for (int g = 0; g < axis; ++g) {
            for (int b = 0; b < axis; ++b) {
                const int index = r + axis * g + axis * axis * b;
                const quint64 hits = cube.cell(index).hitCount;
                if (hits == 0)
                    continue;
                bool isMaximum = true;
                for (int dr = -1; dr <= 1 && isMaximum; ++dr) {
                    for (int dg = -1; dg <= 1 && isMaximum; ++dg) {
                        for (int db = -1; db <= 1 && isMaximum; ++db) {
                            const int nr = r + dr, ng = g + dg, nb = b + db;
                            if (nr < 0 || ng < 0 || nb < 0 || nr >= axis || ng >= axis || nb >= axis)
                                continue;
                            // Strictly greater only: equal neighbours both stay.
                            if (cube.cell(nr + axis * ng + axis * axis * nb).hitCount > hits)
                                isMaximum = false;
                        }
                    }
                }
                if (!isMaximum)
                    continue;
                const std::array<double, 3> average = cube.average(index);
                maxima.push_back({hits, static_cast<quint32>(index), average[0], average[1], average[2],
                                  std::max({average[0], average[1], average[2]})});
            }
        }
    }
    std::stable_sort(maxima.begin(), maxima.end(),
                     [](const CCLocalMaximum& a, const CCLocalMaximum& b) { return a.hitCount > b.hitCount; });
    return maxima;
}

std::optional<CCColorCube::Maxima> CCColorCube::findLocalMaximaInImage(const CCImage& image, unsigned flags)
{
    cube.clear(ColorHistogram::pixelFilterForFlags(flags));
    if (!image || !image(cube))
        return std::nullopt;
    return findLocalMaxima();
}

std::optional<CCColorCube::Maxima> CCColorCube::findAndSortMaximaInImage(const CCImage& image, unsigned flags)
{
    std::optional<Maxima> maxima = findLocalMaximaInImage(image, flags);
    if (!maxima)
        return std::nullopt;
    if (flags & distinctOnly)
        maxima = filterDistinctMaxima(*maxima, 0.2);
    if (flags & sortByBrightness)
        maxima = orderByBrightness(*maxima);
    else if (flags & sortByDarkness)
        maxima = orderByDarkness(*maxima);
    return maxima;
}

std::optional<CCColorCube::Maxima> CCColorCube::extractAndFilterMaximaFromImage(const CCImage& image, unsigned flags)
{
    std::optional<Maxima> maxima = findAndSortMaximaInImage(image, flags);
    if (!maxima)
        return std::nullopt;
    if (flags & skipNearBlack)
        maxima = filterNear(*maxima, 0, 0, 0);
    if (flags & skipNearWhite)
        maxima = filterNear(*maxima, 1, 1, 1);
    return maxima;
}

CCColorCube::Maxima CCColorCube::filterDistinctMaxima(const Maxima& maxima, double threshold)
{
    Maxima kept;
    for (size_t i = 0; i < maxima.size(); ++i) {
        bool distinct = true;
        // Against every earlier maximum, dropped ones included.
        for (size_t j = 0; j < i && distinct; ++j)
            distinct = distance(maxima[i], maxima[j].red, maxima[j].green, maxima[j].blue) >= threshold;
        if (distinct)
            kept.push_back(maxima[i]);
    }
    return kept;
}

CCColorCube::Maxima CCColorCube::filterMaxima(const Maxima& maxima, const Color& color)
{
    return filterNear(maxima, color.red(), color.green(), color.blue());
}

CCColorCube::Maxima CCColorCube::orderByBrightness(const Maxima& maxima)
{
    Maxima ordered = maxima;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const CCLocalMaximum& a, const CCLocalMaximum& b) { return a.brightness > b.brightness; });
    return ordered;
}

CCColorCube::Maxima CCColorCube::orderByDarkness(const Maxima& maxima)
{
    Maxima ordered = maxima;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const CCLocalMaximum& a, const CCLocalMaximum& b) { return a.brightness < b.brightness; });
    return ordered;
}

CCColorCube::Maxima CCColorCube::performAdaptiveDistinctFilteringForMaxima(const Maxima& maxima, int count)
{
    const size_t wanted = static_cast<size_t>(std::max(count, 0));
    if (maxima.size() <= wanted)
        return maxima;
    Maxima result = maxima;
    double threshold = 0.1;
    for (int pass = 0; pass < 10; ++pass) {
        Maxima filtered = filterDistinctMaxima(result, threshold);
        // A pass that would leave too few is not taken.
        if (filtered.size() <= wanted)
            break;
        result = std::move(filtered);
        threshold += 0.05;
    }
    result.resize(wanted);
    return result;
}

std::vector<Color> CCColorCube::colorsFromMaxima(const Maxima& maxima)
{
    std::vector<Color> colors;
    colors.reserve(maxima.size());
    for (const CCLocalMaximum& m : maxima)
        colors.emplace_back(m.red, m.green, m.blue, ColorSpace::sRGB());
    return colors;
}

std::optional<CCColorCube::Maxima> CCColorCube::extractAvoidingColor(const CCImage& image, unsigned flags,
                                                                     const std::optional<Color>& avoidColor)
{
    std::optional<Maxima> maxima = extractAndFilterMaximaFromImage(image, flags);
    if (maxima && avoidColor)
        maxima = filterMaxima(*maxima, *avoidColor);
    return maxima;
}

std::vector<Color> CCColorCube::extractColorsFromImage(const CCImage& image, unsigned flags)
{
    return colorsFromMaxima(extractAvoidingColor(image, flags, std::nullopt).value_or(Maxima{}));
}

std::vector<Color> CCColorCube::extractColorsFromImage(const CCImage& image, unsigned flags, const Color& avoidColor)
{
    return colorsFromMaxima(extractAvoidingColor(image, flags, avoidColor).value_or(Maxima{}));
}

std::vector<Color> CCColorCube::extractColorsFromImage(const CCImage& image, unsigned flags, int count)
{
    const Maxima maxima = extractAvoidingColor(image, flags, std::nullopt).value_or(Maxima{});
    return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Color> CCColorCube::extractBrightColorsFromImage(const CCImage& image,
                                                            const std::optional<Color>& avoidColor, int count)
{
    const Maxima maxima = extractAvoidingColor(image, brightOnly, avoidColor).value_or(Maxima{});
    return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Color> CCColorCube::extractDarkColorsFromImage(const CCImage& image, const std::optional<Color>& avoidColor,
                                                          int count)
{
    const Maxima maxima = extractAvoidingColor(image, darkOnly, avoidColor).value_or(Maxima{});
    return colorsFromMaxima(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}
