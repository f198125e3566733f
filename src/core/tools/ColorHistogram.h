#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The pixel counts of the colour cube: 30 cells on each of the red, green
// and blue axes, cell index r + 30 g + 900 b. Each cell keeps its hit count
// and the sums of its pixels' bytes as integers, so histograms of parts of an
// image add up to the histogram of the whole, exactly, in any order, and an
// average is one division (sum / (255 × count)): a sum of doubles would
// depend on the order of the pixels.
//
// A pixel of bytes (r, g, b) lands in coordinate floor(byte / 255.0 × 29) on
// each axis, computed once per byte value: only 255 lands in 29.
// Transparent pixels count as black: buffers are premultiplied before they
// are counted (see PixelLayout).
class ColorHistogram
{
public:
    static constexpr int cellsPerAxis = 30;
    static constexpr int cellCount = cellsPerAxis * cellsPerAxis * cellsPerAxis;

    // Which pixels are counted, from the extraction's option bits:
    // `brightOnly` (1) skips pixels whose three components are all below 0.6;
    // otherwise `darkOnly` (2) skips pixels with any component at 0.4 or
    // above. The test is on the premultiplied components.
    enum class PixelFilter { all, brightOnly, darkOnly };
    static PixelFilter pixelFilterForFlags(unsigned flags);

    // How the bytes of a buffer hold a pixel.
    enum class PixelLayout {
        rgb,               // 3 bytes: red, green, blue (opaque)
        rgbx,              // 4 bytes, the fourth ignored (opaque)
        rgbaPremultiplied, // 4 bytes, colour already multiplied by alpha
        rgbaStraight,      // 4 bytes, colour not multiplied: each component
                           // becomes (c × a + 127) / 255 in integers, rounded
                           // to nearest, our rule rather than a toolkit's
    };
    static int bytesPerPixel(PixelLayout layout) { return layout == PixelLayout::rgb ? 3 : 4; }

    // Rows of pixels in memory, `bytesPerLine` apart.
    struct Pixels
    {
        const uchar* data = nullptr;
        qint64 width = 0;
        qint64 height = 0;
        qint64 bytesPerLine = 0;
        PixelLayout layout = PixelLayout::rgbaPremultiplied;
    };

    struct Cell
    {
        quint64 hitCount = 0;
        quint64 redSum = 0, greenSum = 0, blueSum = 0; // sums of bytes (0..255)
        bool operator==(const Cell&) const = default;
    };

    explicit ColorHistogram(PixelFilter filter = PixelFilter::all);

    PixelFilter pixelFilter() const { return filter; }
    // Empties every cell and sets the filter for what is counted next.
    void clear(PixelFilter newFilter);
    void clear() { clear(filter); }

    // Counts every pixel of `pixels`, split by rows over the global
    // QThreadPool's threads, each counting into a cube of its own; the cubes
    // are added at the end. Big buffers only: small ones stay on the caller's
    // thread.
    void addPixels(const Pixels& pixels);

    // `count` fully transparent pixels, which count as black (cell 0), as the
    // uncovered area of images stitched side by side does.
    void addTransparentPixels(quint64 count);

    // Adds another histogram's cells (its filter should be this one's).
    void add(const ColorHistogram& other);

    const Cell& cell(int index) const { return cells[static_cast<size_t>(index)]; }
    // The cell's average colour, each component 0..1; black for an empty cell.
    std::array<double, 3> average(int index) const;
    // Pixels counted (those the filter let through).
    quint64 countedPixels() const { return counted; }

    bool operator==(const ColorHistogram& other) const;

    // Counts strips of rows one after another on one thread (a decoder's
    // output, say) in 32-bit cells that it adds to the histogram only when
    // told: a file that fails half way leaves the histogram as it was.
    class StripCounter
    {
    public:
        explicit StripCounter(ColorHistogram& into);
        ~StripCounter();
        StripCounter(const StripCounter&) = delete;
        StripCounter& operator=(const StripCounter&) = delete;

        void addRows(const Pixels& rows);
        // Adds everything counted so far to the histogram.
        void commit();

    private:
        struct Cube;
        ColorHistogram& histogram;
        std::unique_ptr<Cube> cube;
    };

private:
    PixelFilter filter;
    std::vector<Cell> cells;
    quint64 counted = 0;
};
