#include "ColorHistogram.h"

#include <QThreadPool>
#include <QtEndian>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>

namespace {

// One cell as four 32-bit lanes (count, red, green, blue sums): a pixel is a
// single vector add. 255 × 2^24 fits in 32 bits, so a cube is emptied into
// the 64-bit histogram at least every 2^24 pixels.
using Quad = std::uint32_t __attribute__((vector_size(16)));
constexpr quint64 pixelsPerFlush = quint64(1) << 24;
constexpr qint64 pixelsPerSegment = qint64(1) << 20;

// Everything a pixel needs is read from one table entry per component: lane
// 0 holds the component's share of the cell's offset in bytes (the index
// times the size of a cell, which saves a shift a pixel): its coordinate
// floor(byte / 255.0 × 29) exactly as the double arithmetic gives it (a
// table of byte / 255.0 is exact; multiplying by 1 / 255.0 is not) scaled
// to its axis; its own lane holds the byte. The three entries added give the
// cell index and the pixel's sums at once, with no shuffling of lanes.
struct ByteTables
{
    std::array<Quad, 256> red, green, blue;
    std::array<bool, 256> below06, atLeast04;

    ByteTables()
    {
        constexpr unsigned axis = ColorHistogram::cellsPerAxis;
        constexpr unsigned cellBytes = sizeof(Quad);
        for (unsigned byte = 0; byte < 256; ++byte) {
            const double c = byte / 255.0;
            const auto coordinate = static_cast<unsigned>(c * 29);
            red[byte] = Quad{coordinate * cellBytes, byte, 0, 0};
            green[byte] = Quad{coordinate * axis * cellBytes, 0, byte, 0};
            blue[byte] = Quad{coordinate * axis * axis * cellBytes, 0, 0, byte};
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
inline void countPixel(Quad* cube, const uchar* p, const ByteTables& t)
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
    Quad& cell = *reinterpret_cast<Quad*>(reinterpret_cast<char*>(cube) + sum[0]);
    cell += (sum & Quad{0, ~0u, ~0u, ~0u}) | Quad{1, 0, 0, 0};
}

// Even and odd pixels go to two cubes: neighbouring pixels mostly fall into
// one cell, and alternating cubes halves the chain of dependent updates that
// the same cell would form.
template <Layout layout, Filter filter>
void countSegment(Quad* even, Quad* odd, const uchar* p, qint64 n)
{
    const ByteTables& t = tables();
    constexpr int step = layout == Layout::rgb ? 3 : 4;
    qint64 i = 0;
    for (; i + 1 < n; i += 2, p += 2 * step) {
        countPixel<layout, filter>(even, p, t);
        countPixel<layout, filter>(odd, p + step, t);
    }
    if (i < n)
        countPixel<layout, filter>(even, p, t);
}

template <Layout layout>
void countSegment(Filter filter, Quad* even, Quad* odd, const uchar* p, qint64 n)
{
    switch (filter) {
    case Filter::all: countSegment<layout, Filter::all>(even, odd, p, n); break;
    case Filter::brightOnly: countSegment<layout, Filter::brightOnly>(even, odd, p, n); break;
    case Filter::darkOnly: countSegment<layout, Filter::darkOnly>(even, odd, p, n); break;
    }
}

void countSegment(Layout layout, Filter filter, Quad* even, Quad* odd, const uchar* p, qint64 n)
{
    switch (layout) {
    case Layout::rgb: countSegment<Layout::rgb>(filter, even, odd, p, n); break;
    case Layout::rgbx: countSegment<Layout::rgbx>(filter, even, odd, p, n); break;
    case Layout::rgbaPremultiplied: countSegment<Layout::rgbaPremultiplied>(filter, even, odd, p, n); break;
    case Layout::rgbaStraight: countSegment<Layout::rgbaStraight>(filter, even, odd, p, n); break;
    }
}

} // namespace

struct ColorHistogram::StripCounter::Cube
{
    std::vector<Quad> cells = std::vector<Quad>(2 * cellCount, Quad{0, 0, 0, 0});
    std::vector<Cell> wide = std::vector<Cell>(cellCount);
    quint64 sinceFlush = 0;

    void flush()
    {
        const Quad* even = cells.data();
        const Quad* odd = even + cellCount;
        for (int i = 0; i < cellCount; ++i) {
            const Quad sum = even[i] + odd[i];
            if (sum[0] == 0)
                continue;
            Cell& c = wide[static_cast<size_t>(i)];
            c.hitCount += sum[0];
            c.redSum += sum[1];
            c.greenSum += sum[2];
            c.blueSum += sum[3];
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
            countSegment(rows.layout, histogram.filter, cube->cells.data(), cube->cells.data() + cellCount,
                         row + x * step, n);
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
