#pragma once

// Images the extraction tests count: made here, never read from fixtures.

#include "tools/CCColorCube.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

struct Run
{
    int red, green, blue, count;
};

// Opaque premultiplied RGBA bytes: each run's colour repeated, in order.
inline std::vector<uchar> pixelsOfRuns(const std::vector<Run>& runs)
{
    std::vector<uchar> bytes;
    for (const Run& run : runs)
        for (int i = 0; i < run.count; ++i)
            bytes.insert(bytes.end(), {uchar(run.red), uchar(run.green), uchar(run.blue), 255});
    return bytes;
}

inline ColorHistogram::Pixels rowOf(const std::vector<uchar>& rgba,
                                    ColorHistogram::PixelLayout layout = ColorHistogram::PixelLayout::rgbaPremultiplied)
{
    const qint64 n = qint64(rgba.size()) / 4;
    return {rgba.data(), n, 1, 4 * n, layout};
}

inline CCImage imageOf(const ColorHistogram::Pixels& pixels)
{
    return [pixels](ColorHistogram& cells) {
        cells.addPixels(pixels);
        return true;
    };
}

// Something like a photograph: smooth gradients, soft shapes and grain,
// straight (not premultiplied) RGBA, opaque unless `withAlpha`.
inline QImage photoLike(int width, int height, unsigned variant, bool withAlpha = false)
{
    QImage image(width, height, QImage::Format_RGBA8888);
    std::mt19937 random(variant);
    std::normal_distribution<double> grain(0, 6);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double sky = v < 0.4 ? 1 : 0;
            const double blob = std::exp(-((u - 0.6) * (u - 0.6) + (v - 0.7) * (v - 0.7)) * 20);
            const double r = 40 + 150 * u * (1 - sky) + 180 * blob + 60 * sky + grain(random);
            const double g = 60 + 90 * v + 40 * sky + 50 * blob + grain(random);
            const double b = 30 + 200 * sky * (1 - v) + 20 * u + grain(random);
            row[4 * x] = uchar(std::clamp(r, 0.0, 255.0));
            row[4 * x + 1] = uchar(std::clamp(g, 0.0, 255.0));
            row[4 * x + 2] = uchar(std::clamp(b, 0.0, 255.0));
            row[4 * x + 3] = withAlpha ? uchar(random() % 256) : 255;
        }
    }
    return image;
}

inline QImage randomImage(int width, int height, unsigned variant)
{
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    std::mt19937 random(variant);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int a = int(random() % 256);
            row[4 * x + 3] = uchar(a);
            for (int c = 0; c < 3; ++c)
                row[4 * x + c] = uchar(random() % (a + 1));
        }
    }
    return image;
}

// Straight RGBA bytes premultiplied by the histogram's rule.
inline QImage premultipliedByOurRule(const QImage& straight)
{
    QImage out = straight.convertToFormat(QImage::Format_RGBA8888);
    out.reinterpretAsFormat(QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        uchar* row = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x)
            for (int c = 0; c < 3; ++c)
                row[4 * x + c] = uchar((row[4 * x + c] * row[4 * x + 3] + 127) / 255);
    }
    return out;
}
