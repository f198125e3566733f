#include "ColorHistogram.h"

#include <QThreadPool>
#include <QtEndian>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__) && defined(__GNUC__)
#include <emmintrin.h>
#endif

namespace {

// One cell as four 32-bit lanes (red, green, blue sums, count): a pixel is a
// single vector add. 255 × 2^24 fits in 32 bits, so the cells are emptied
// into the 64-bit histogram at least every 2^24 pixels.
using Quad = std::uint32_t __attribute__((vector_size(16)));
constexpr quint64 pixelsPerFlush = quint64(1) << 24;
constexpr qint64 pixelsPerSegment = qint64(1) << 20;
constexpr unsigned cellBytes = sizeof(Quad);

// Pixel i of a run goes to copy i mod 4 of its cell: neighbouring pixels
// mostly fall into one cell, and four copies cut the chain of dependent
// updates of that cell to a quarter. The copies of a cell share one cache
// line, so a cell in use costs one line, not four.
constexpr int copiesPerCell = 4;
constexpr unsigned cellLineBytes = copiesPerCell * cellBytes;

// A byte's coordinate on its axis, floor(byte / 255.0 × 29), is also the
// high half of byte × 7454 (one vector multiply for eight bytes): the error
// of 7454 / 65536 against 29 / 255 stays below the least distance 1 / 255 of
// byte × 29 / 255 from the next whole number. Checked for every byte here,
// against the double arithmetic the histogram is defined by.
constexpr unsigned coordinateMultiplier = 7454;
constexpr bool coordinatesAgree()
{
    for (unsigned byte = 0; byte < 256; ++byte)
        if (static_cast<unsigned>(byte / 255.0 * 29) != (byte * coordinateMultiplier) >> 16)
            return false;
    return true;
}
static_assert(coordinatesAgree());

// Everything a pixel needs is read from one table entry per component: lane
// 3 holds the component's share of the cell's offset in bytes (the index
// times the size of a cell's line, which saves a shift a pixel); its own lane holds
// the byte. The three entries added give the cell's offset and the pixel's
// sums at once, with no shuffling of lanes.
struct ByteTables
{
    std::array<Quad, 256> red, green, blue;
    std::array<bool, 256> below06, atLeast04;

    ByteTables()
    {
        constexpr unsigned axis = ColorHistogram::cellsPerAxis;
        for (unsigned byte = 0; byte < 256; ++byte) {
            const double c = byte / 255.0;
            const unsigned coordinate = (byte * coordinateMultiplier) >> 16;
            red[byte] = Quad{byte, 0, 0, coordinate * cellLineBytes};
            green[byte] = Quad{0, byte, 0, coordinate * axis * cellLineBytes};
            blue[byte] = Quad{0, 0, byte, coordinate * axis * axis * cellLineBytes};
            below06[byte] = c < 0.6;
            atLeast04[byte] = c >= 0.4;
        }
    }
};

const ByteTables& tables()
{
    static const ByteTables t;
    return t;
}

using Filter = ColorHistogram::PixelFilter;
using Layout = ColorHistogram::PixelLayout;

template <Layout layout, Filter filter>
inline void countPixel(Quad* cells, const uchar* p, const ByteTables& t)
{
    unsigned r, g, b;
    if constexpr (layout == Layout::rgb) {
        r = p[0], g = p[1], b = p[2];
    } else {
        // One load for the pixel, its bytes taken apart in registers.
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        word = qFromLittleEndian(word);
        r = word & 0xFF, g = (word >> 8) & 0xFF, b = (word >> 16) & 0xFF;
    }
    if constexpr (layout == Layout::rgbaStraight) {
        const unsigned a = p[3];
        if (a != 255) {
            r = (r * a + 127) / 255;
            g = (g * a + 127) / 255;
            b = (b * a + 127) / 255;
        }
    }
    if constexpr (filter == Filter::brightOnly) {
        if (t.below06[r] && t.below06[g] && t.below06[b])
            return;
    } else if constexpr (filter == Filter::darkOnly) {
        if (t.atLeast04[r] || t.atLeast04[g] || t.atLeast04[b])
            return;
    }
    const Quad sum = t.red[r] + t.green[g] + t.blue[b];
    Quad& cell = *reinterpret_cast<Quad*>(reinterpret_cast<char*>(cells) + sum[3]);
    cell += (sum & Quad{~0u, ~0u, ~0u, 0}) | Quad{0, 0, 0, 1};
}

template <Layout layout, Filter filter>
void countSegment(Quad* cells, const uchar* p, qint64 n)
{
    const ByteTables& t = tables();
    constexpr int step = layout == Layout::rgb ? 3 : 4;
    qint64 i = 0;
    for (; i + 3 < n; i += 4, p += 4 * step) {
        countPixel<layout, filter>(cells, p, t);
        countPixel<layout, filter>(cells + 1, p + step, t);
        countPixel<layout, filter>(cells + 2, p + 2 * step, t);
        countPixel<layout, filter>(cells + 3, p + 3 * step, t);
    }
    for (; i < n; ++i, p += step)
        countPixel<layout, filter>(cells, p, t);
}

#if defined(__SSE2__) && defined(__GNUC__)
// Four-byte pixels whose colour needs no arithmetic and no filter (the
// common case: decoded photographs), four at a time in SSE2 registers, which
// every x86-64 processor has: the coordinates by the multiply above, the
// cells' offsets by one multiply-add, and each pixel's sums by widening its
// bytes, its fourth byte replaced by the 1 that counts it.
void countOpaqueSse2(Quad* cells, const uchar* p, qint64 n)
{
    char* const bytes = reinterpret_cast<char*>(cells);
    // The offsets come in units of 8 bytes, which an address takes as they
    // are and which keep the largest weight within 16 bits.
    constexpr short unit = 8, x = cellLineBytes / unit, y = x * ColorHistogram::cellsPerAxis, z = y * ColorHistogram::cellsPerAxis;
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    const __m128i one = _mm_set1_epi32(0x01000000);
    const __m128i multiplier = _mm_set1_epi16(static_cast<short>(coordinateMultiplier));
    const __m128i weights = _mm_setr_epi16(x, y, z, 0, x, y, z, 0);
    const __m128i zero = _mm_setzero_si128();
    auto add = [bytes](quint64 offset, int copy, __m128i sums) {
        auto* cell = reinterpret_cast<__m128i*>(bytes + offset * unit + copy * cellBytes);
        _mm_store_si128(cell, _mm_add_epi32(_mm_load_si128(cell), sums));
    };
    qint64 i = 0;
    for (; i + 3 < n; i += 4, p += 16) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        pixels = _mm_or_si128(_mm_and_si128(pixels, colourBytes), one);
        const __m128i low = _mm_unpacklo_epi8(pixels, zero);
        const __m128i high = _mm_unpackhi_epi8(pixels, zero);
        // Two 32-bit halves of each offset (red and green, blue), then
        // their sums for the four pixels.
        const __m128i halvesLow = _mm_madd_epi16(_mm_mulhi_epu16(low, multiplier), weights);
        const __m128i halvesHigh = _mm_madd_epi16(_mm_mulhi_epu16(high, multiplier), weights);
        const __m128 a = _mm_castsi128_ps(halvesLow), b = _mm_castsi128_ps(halvesHigh);
        const __m128i offsets = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))),
                                              _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))));
        const auto first = static_cast<quint64>(_mm_cvtsi128_si64(offsets));
        const auto second = static_cast<quint64>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(offsets, offsets)));
        add(first & 0xFFFFFFFF, 0, _mm_unpacklo_epi16(low, zero));
        add(first >> 32, 1, _mm_unpackhi_epi16(low, zero));
        add(second & 0xFFFFFFFF, 2, _mm_unpacklo_epi16(high, zero));
        add(second >> 32, 3, _mm_unpackhi_epi16(high, zero));
    }
    if (i < n)
        countSegment<Layout::rgbx, Filter::all>(cells, p, n - i);
}

#endif

template <Layout layout>
void countSegment(Filter filter, Quad* cells, const uchar* p, qint64 n)
{
    switch (filter) {
    case Filter::all:
#if defined(__SSE2__) && defined(__GNUC__)
        if constexpr (layout == Layout::rgbx || layout == Layout::rgbaPremultiplied)
            return countOpaqueSse2(cells, p, n);
#endif
        countSegment<layout, Filter::all>(cells, p, n);
        break;
    case Filter::brightOnly: countSegment<layout, Filter::brightOnly>(cells, p, n); break;
    case Filter::darkOnly: countSegment<layout, Filter::darkOnly>(cells, p, n); break;
    }
}

void countSegment(Layout layout, Filter filter, Quad* cells, const uchar* p, qint64 n)
{
    switch (layout) {
    case Layout::rgb: countSegment<Layout::rgb>(filter, cells, p, n); break;
    case Layout::rgbx: countSegment<Layout::rgbx>(filter, cells, p, n); break;
    case Layout::rgbaPremultiplied: countSegment<Layout::rgbaPremultiplied>(filter, cells, p, n); break;
    case Layout::rgbaStraight: countSegment<Layout::rgbaStraight>(filter, cells, p, n); break;
    }
}

} // namespace

struct ColorHistogram::StripCounter::Cube
{
    std::vector<Quad> cells = std::vector<Quad>(copiesPerCell * cellCount, Quad{0, 0, 0, 0});
    std::vector<Cell> wide = std::vector<Cell>(cellCount);
    quint64 sinceFlush = 0;

    void flush()
    {
        const Quad* cube = cells.data();
        for (int i = 0; i < cellCount; ++i) {
            const Quad* copy = cube + i * copiesPerCell;
            const Quad sum = copy[0] + copy[1] + copy[2] + copy[3];
            if (sum[3] == 0)
                continue;
            Cell& c = wide[static_cast<size_t>(i)];
            c.redSum += sum[0];
            c.greenSum += sum[1];
            c.blueSum += sum[2];
            c.hitCount += sum[3];
        }
        std::fill(cells.begin(), cells.end(), Quad{0, 0, 0, 0});
        sinceFlush = 0;
    }
};

ColorHistogram::ColorHistogram(PixelFilter filter)
    : filter(filter)
    , cells(cellCount)
{
}

ColorHistogram::PixelFilter ColorHistogram::pixelFilterForFlags(unsigned flags)
{
    if (flags & 1)
        return PixelFilter::brightOnly;
    if (flags & 2)
        return PixelFilter::darkOnly;
    return PixelFilter::all;
}

void ColorHistogram::clear(PixelFilter newFilter)
{
    filter = newFilter;
    std::fill(cells.begin(), cells.end(), Cell{});
    counted = 0;
}

void ColorHistogram::addTransparentPixels(quint64 count)
{
    // Premultiplied, a transparent pixel is (0, 0, 0): the filters see black.
    if (filter == PixelFilter::brightOnly)
        return;
    cells[0].hitCount += count;
    counted += count;
}

void ColorHistogram::add(const ColorHistogram& other)
{
    for (int i = 0; i < cellCount; ++i) {
        Cell& c = cells[static_cast<size_t>(i)];
        const Cell& o = other.cells[static_cast<size_t>(i)];
        c.hitCount += o.hitCount;
        c.redSum += o.redSum;
        c.greenSum += o.greenSum;
        c.blueSum += o.blueSum;
    }
    counted += other.counted;
}

std::array<double, 3> ColorHistogram::average(int index) const
{
    const Cell& c = cell(index);
    if (c.hitCount == 0)
        return {0, 0, 0};
    // Both factors are exact in a double, so the one division is the
    // correctly rounded average: a single-colour image gives its colour back.
    const double divisor = 255.0 * static_cast<double>(c.hitCount);
    return {static_cast<double>(c.redSum) / divisor, static_cast<double>(c.greenSum) / divisor,
            static_cast<double>(c.blueSum) / divisor};
}

bool ColorHistogram::operator==(const ColorHistogram& other) const
{
    return filter == other.filter && counted == other.counted && cells == other.cells;
}

void ColorHistogram::addPixels(const Pixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0 || !pixels.data)
        return;
    // Below about a million pixels a second thread costs more than it saves.
    const qint64 total = pixels.width * pixels.height;
    const qint64 threads = std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    const qint64 parts = std::clamp<qint64>(total / (qint64(1) << 20), 1, std::min(threads, pixels.height));

    std::vector<std::unique_ptr<ColorHistogram>> partial;
    std::vector<QFuture<void>> running;
    auto countRows = [&pixels](ColorHistogram* into, qint64 first, qint64 end) {
        StripCounter counter(*into);
        counter.addRows({pixels.data + first * pixels.bytesPerLine, pixels.width, end - first, pixels.bytesPerLine,
                         pixels.layout});
        counter.commit();
    };
    for (qint64 part = 1; part < parts; ++part) {
        partial.push_back(std::make_unique<ColorHistogram>(filter));
        running.push_back(QtConcurrent::run(countRows, partial.back().get(), pixels.height * part / parts,
                                            pixels.height * (part + 1) / parts));
    }
    countRows(this, 0, pixels.height / parts);
    for (size_t i = 0; i < running.size(); ++i) {
        running[i].waitForFinished();
        add(*partial[i]);
    }
}

ColorHistogram::StripCounter::StripCounter(ColorHistogram& into)
    : histogram(into)
    , cube(std::make_unique<Cube>())
{
}

ColorHistogram::StripCounter::~StripCounter() = default;

void ColorHistogram::StripCounter::addRows(const Pixels& rows)
{
    const int step = bytesPerPixel(rows.layout);
    for (qint64 y = 0; y < rows.height; ++y) {
        const uchar* row = rows.data + y * rows.bytesPerLine;
        for (qint64 x = 0; x < rows.width; x += pixelsPerSegment) {
            const qint64 n = std::min(pixelsPerSegment, rows.width - x);
            if (cube->sinceFlush + static_cast<quint64>(n) > pixelsPerFlush)
                cube->flush();
            countSegment(rows.layout, histogram.filter, cube->cells.data(), row + x * step, n);
            cube->sinceFlush += static_cast<quint64>(n);
        }
    }
}

void ColorHistogram::StripCounter::commit()
{
    cube->flush();
    quint64 counted = 0;
    for (int i = 0; i < cellCount; ++i) {
        Cell& c = histogram.cells[static_cast<size_t>(i)];
        Cell& w = cube->wide[static_cast<size_t>(i)];
        c.hitCount += w.hitCount;
        c.redSum += w.redSum;
        c.greenSum += w.greenSum;
        c.blueSum += w.blueSum;
        counted += w.hitCount;
        w = Cell{};
    }
    histogram.counted += counted;
}
