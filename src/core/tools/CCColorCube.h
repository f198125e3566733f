#pragma once

#include "ColorHistogram.h"
#include "colour/Color.h"

#include <functional>
#include <optional>
#include <vector>

// One local maximum of the cube: a cell that no neighbour beats.
struct CCLocalMaximum
{
    quint64 hitCount = 0;
    quint32 cellIndex = 0;
    double red = 0, green = 0, blue = 0; // the cell's average colour, 0..1
    double brightness = 0;               // the largest of the three
};

// The pixels an extraction counts: a function that adds them to the
// histogram it is given (whose pixel filter the cube has set from the option
// bits) and answers false when they cannot be had. A buffer, a file
// (ImageHistogram) or several files stitched side by side all fit.
using CCImage = std::function<bool(ColorHistogram& cells)>;

// Finds the dominant colours of an image: counts its pixels in the
// 30 × 30 × 30 cube, takes the cells no neighbour beats (plateaus give a
// maximum per cell), orders them by hit count (ties in visiting order),
// optionally filters and reorders them, and answers each as the average
// colour of its cell, in sRGB. One object per job: the cube lives inside it.
class CCColorCube
{
public:
    // Option bits.
    enum : unsigned {
        brightOnly = 1,       // skip pixels whose components are all below 0.6
        darkOnly = 2,         // skip pixels with a component at 0.4 or above (not with brightOnly)
        distinctOnly = 4,     // drop maxima closer than 0.2 to an earlier one, dropped ones too
        sortByBrightness = 8, // brightest first
        sortByDarkness = 16,  // darkest first (not with sortByBrightness)
        skipNearWhite = 32,   // drop maxima closer than 0.5 to white
        skipNearBlack = 64,   // drop maxima closer than 0.5 to black
    };
    using Maxima = std::vector<CCLocalMaximum>;

    // Most frequent first. Empty when the image's pixels cannot be had.
    std::vector<Color> extractColorsFromImage(const CCImage& image, unsigned flags);
    // The same, without the maxima closer than 0.5 to `avoidColor`.
    std::vector<Color> extractColorsFromImage(const CCImage& image, unsigned flags, const Color& avoidColor);
    // The same, cut to at most `count` colours by adaptive distinct filtering.
    std::vector<Color> extractColorsFromImage(const CCImage& image, unsigned flags, int count);
    // `brightOnly` (`darkOnly`) alone, without the maxima closer than 0.5 to
    // `avoidColor` when there is one, then cut to `count` adaptively.
    std::vector<Color> extractBrightColorsFromImage(const CCImage& image, const std::optional<Color>& avoidColor,
                                                    int count);
    std::vector<Color> extractDarkColorsFromImage(const CCImage& image, const std::optional<Color>& avoidColor,
                                                  int count);

    // The steps, for callers that need the maxima themselves.
    void clearCells();
    const ColorHistogram& cells() const { return cube; }
    // Counts the image (clearing the cube first) and answers its maxima
    // sorted by hit count; nothing when the pixels cannot be had.
    std::optional<Maxima> findLocalMaximaInImage(const CCImage& image, unsigned flags);
    // The maxima of the cube as it is, sorted by hit count.
    Maxima findLocalMaxima() const;
    std::optional<Maxima> findAndSortMaximaInImage(const CCImage& image, unsigned flags);
    std::optional<Maxima> extractAndFilterMaximaFromImage(const CCImage& image, unsigned flags);

    static Maxima filterDistinctMaxima(const Maxima& maxima, double threshold);
    // Keeps the maxima at a distance of 0.5 or more from `color`.
    static Maxima filterMaxima(const Maxima& maxima, const Color& color);
    static Maxima orderByBrightness(const Maxima& maxima);
    static Maxima orderByDarkness(const Maxima& maxima);
    // At most `count` maxima, distinct filtering raised from 0.1 by 0.05 for
    // up to ten passes while more than `count` remain, then the first `count`.
    static Maxima performAdaptiveDistinctFilteringForMaxima(const Maxima& maxima, int count);
    static std::vector<Color> colorsFromMaxima(const Maxima& maxima);

private:
    std::optional<Maxima> extractAvoidingColor(const CCImage& image, unsigned flags,
                                               const std::optional<Color>& avoidColor);

    ColorHistogram cube;
};
