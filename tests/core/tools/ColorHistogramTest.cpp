#include "ReferenceCube.h"
#include "TestImages.h"

#include "tools/ImageHistogram.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Layout = ColorHistogram::PixelLayout;

ColorHistogram::Pixels pixelsOf(const QImage& image, Layout layout)
{
    return {image.constBits(), image.width(), image.height(), image.bytesPerLine(), layout};
}

// The fast histogram's maxima against the plain loop's: the same cells in
// the same order, averages within 1e-9.
void expectSameAsReference(const QImage& premultiplied, unsigned flags, const std::string& name)
{
    ReferenceCube reference;
    for (int y = 0; y < premultiplied.height(); ++y)
        reference.count(premultiplied.constScanLine(y), premultiplied.width(), flags);
    const std::vector<ReferenceMaximum> expected = reference.maxima();

    CCColorCube cube;
    const CCColorCube::Maxima found =
        *cube.findLocalMaximaInImage(imageOf(pixelsOf(premultiplied, Layout::rgbaPremultiplied)), flags);
    ASSERT_EQ(found.size(), expected.size()) << name;
    ASSERT_FALSE(found.empty()) << name;
    double worst = 0;
    for (size_t i = 0; i < found.size(); ++i) {
        ASSERT_EQ(found[i].cellIndex, expected[i].cellIndex) << name << " maximum " << i;
        ASSERT_EQ(found[i].hitCount, expected[i].hitCount) << name << " maximum " << i;
        worst = std::max({worst, std::abs(found[i].red - expected[i].red), std::abs(found[i].green - expected[i].green),
                          std::abs(found[i].blue - expected[i].blue)});
    }
    EXPECT_LE(worst, 1e-9) << name;
}

QImage throughJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    EXPECT_TRUE(writer.write(image.convertToFormat(QImage::Format_RGB32)));
    return QImage::fromData(bytes, "jpeg").convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// Cheap to make at any size: every byte value on every axis.
QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[4 * x] = uchar(x);
            row[4 * x + 1] = uchar(y);
            row[4 * x + 2] = uchar(x / 16 + y / 16);
            row[4 * x + 3] = 255;
        }
    }
    return image;
}

ColorHistogram histogramOf(const ColorHistogram::Pixels& pixels, unsigned flags = 0)
{
    ColorHistogram histogram(ColorHistogram::pixelFilterForFlags(flags));
    histogram.addPixels(pixels);
    return histogram;
}

} // namespace

TEST(ColorHistogram, FastPathMatchesThePlainLoop)
{
    // Big enough to be split over threads.
    const QImage photo = premultipliedByOurRule(photoLike(1500, 1000, 7));
    const struct
    {
        const char* name;
        QImage image;
        unsigned flags;
    } rows[] = {
        {"random", randomImage(1200, 900, 1), 0},
        {"random, bright only", randomImage(640, 480, 2), 1},
        {"random, dark only", randomImage(640, 480, 3), 2},
        {"photo", photo, 0},
        {"photo with alpha", premultipliedByOurRule(photoLike(800, 600, 8, true)), 0},
        {"photo through JPEG", throughJpeg(photoLike(1024, 768, 9)), 0},
        {"one pixel", randomImage(1, 1, 4), 0},
        {"one tall column", premultipliedByOurRule(photoLike(1, 5000, 5)), 0},
        {"gradient, 17 megapixels", gradient(4200, 4100), 0},
    };
    for (const auto& row : rows)
        expectSameAsReference(row.image, row.flags, row.name);

    const QString source = qEnvironmentVariable("HUELARK_SOURCE_DIR");
    for (const char* real : {"docs/tools-light.png", "docs/palettes-dark.png", "tests/fuzz/ImageFuzzer/adobe-turned.jpg"}) {
        const QImage image(source + QLatin1Char('/') + QLatin1String(real));
        ASSERT_FALSE(image.isNull()) << real;
        expectSameAsReference(image.convertToFormat(QImage::Format_RGBA8888_Premultiplied), 0, real);
    }
}

TEST(ColorHistogram, EveryLayoutCountsTheSame)
{
    const QImage straight = photoLike(301, 207, 11, true);
    const ColorHistogram expected = histogramOf(pixelsOf(premultipliedByOurRule(straight), Layout::rgbaPremultiplied));
    EXPECT_EQ(histogramOf(pixelsOf(straight, Layout::rgbaStraight)), expected);

    const QImage opaque = photoLike(301, 207, 12);
    const ColorHistogram opaqueExpected = histogramOf(pixelsOf(opaque, Layout::rgbaPremultiplied));
    EXPECT_EQ(histogramOf(pixelsOf(opaque, Layout::rgbx)), opaqueExpected);
    EXPECT_EQ(histogramOf(pixelsOf(opaque.convertToFormat(QImage::Format_RGB888), Layout::rgb)), opaqueExpected);

    // One thread past 2^24 pixels empties its 32-bit cells on the way.
    const QImage big = gradient(4200, 4100);
    ColorHistogram oneThread;
    ColorHistogram::StripCounter counter(oneThread);
    counter.addRows(pixelsOf(big, Layout::rgbx));
    counter.commit();
    EXPECT_EQ(oneThread, histogramOf(pixelsOf(big, Layout::rgbaPremultiplied)));
    EXPECT_EQ(oneThread.countedPixels(), 4200u * 4100);

    // Our premultiplying, rounded to nearest: (c × a + 127) / 255.
    const std::vector<uchar> pixel = {200, 100, 50, 128};
    const std::vector<uchar> premultiplied = {100, 50, 25, 128};
    EXPECT_EQ(histogramOf(rowOf(pixel, Layout::rgbaStraight)), histogramOf(rowOf(premultiplied)));
}

TEST(ColorHistogram, SeveralFilesAreTheirStitchedImage)
{
    // Three images side by side, bottoms aligned, on a transparent canvas of
    // the summed width and the tallest height; one is a JPEG.
    QTemporaryDir folder;
    const struct
    {
        QImage image;
        const char* file;
    } parts[] = {
        {photoLike(100, 50, 20, true), "a.png"},
        {photoLike(200, 80, 21), "b.jpg"},
        {photoLike(30, 10, 22, true), "c.webp"},
    };
    QStringList paths;
    std::vector<QImage> decoded;
    for (const auto& part : parts) {
        const QString path = folder.filePath(QString::fromLatin1(part.file));
        QImageWriter writer(path);
        writer.setQuality(100);
        ASSERT_TRUE(writer.write(part.image)) << part.file << writer.errorString().toStdString();
        paths << path;
        decoded.push_back(QImage(path).convertToFormat(QImage::Format_RGBA8888));
    }
    QImage stitched(330, 80, QImage::Format_RGBA8888);
    stitched.fill(Qt::transparent);
    int x = 0;
    for (const QImage& image : decoded) {
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(stitched.scanLine(80 - image.height() + y) + 4 * x, image.constScanLine(y), 4 * image.width());
        x += image.width();
    }

    for (unsigned flags : {0u, 1u, 2u}) {
        ColorHistogram summed(ColorHistogram::pixelFilterForFlags(flags));
        const ImageHistogram::Stitching stitching = ImageHistogram::addStitchedFiles(summed, paths);
        EXPECT_EQ(stitching.imagesRead, 3);
        EXPECT_EQ(stitching.width, 330);
        EXPECT_EQ(stitching.height, 80);
        EXPECT_EQ(stitching.uncoveredPixels, 330u * 80 - 100 * 50 - 200 * 80 - 30 * 10);
        EXPECT_EQ(summed, histogramOf(pixelsOf(stitched, Layout::rgbaStraight), flags)) << "flags " << flags;
    }
}
