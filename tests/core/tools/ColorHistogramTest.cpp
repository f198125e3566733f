#include "ReferenceCube.h"
#include "TestImages.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "tools/ImageHistogram.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QStringList>
#include <QtEndian>

#include <gtest/gtest.h>

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

QStringList hexCodes(const std::vector<Color>& colors)
{
    QStringList codes;
    for (const Color& c : colors) {
        const std::array<int, 3> i = c.integerComponents();
        codes << HexCodec::storedForm(i[0], i[1], i[2]);
    }
    return codes;
}

CCLocalMaximum maximum(quint64 hits, double red, double green, double blue)
{
    return {hits, 0, red, green, blue, std::max({red, green, blue})};
}

QStringList hexCodes(const CCColorCube::Maxima& maxima)
{
    return hexCodes(CCColorCube::colorsFromMaxima(maxima));
}

// Five colours in cells far apart, each a maximum of its own.
const std::vector<uchar> fiveColours = pixelsOfRuns(
    {{255, 0, 0, 40}, {255, 255, 255, 30}, {0, 0, 0, 20}, {0, 0, 80, 10}, {200, 200, 200, 5}});

QByteArray encoded(const QImage& image, const char* format,
                   QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setTransformation(turn);
    EXPECT_TRUE(writer.write(image)) << format << writer.errorString().toStdString();
    return bytes;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A PNG whose header claims another size, its checksum made good.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = encoded(photoLike(8, 8, 1), "png");
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(png.mid(12, 17)), png.data() + 29);
    return png;
}

QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray jpeg = encoded(photoLike(8, 8, 1), "jpeg");
    const qsizetype frame = jpeg.indexOf(QByteArray::fromHex("ffc0"));
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

// The payload of an APP1 segment: Exif, a TIFF header and one directory
// with the orientation alone.
QByteArray app1(bool bigEndian, quint16 orientation)
{
    QByteArray tiff = bigEndian ? QByteArray::fromHex("4d4d002a00000008") : QByteArray::fromHex("49492a0008000000");
    QByteArray entry(2 + 12, '\0');
    auto put16 = [&](int at, quint16 v) {
        bigEndian ? qToBigEndian(v, entry.data() + at) : qToLittleEndian(v, entry.data() + at);
    };
    put16(0, 1);
    put16(2, 0x0112);
    put16(4, 3);
    put16(10, orientation);
    return QByteArray("Exif\0\0", 6) + tiff + entry;
}

// A JPEG with that segment right after its start marker.
QByteArray jpegWithExif(const QByteArray& jpeg, const QByteArray& payload)
{
    QByteArray length(2, '\0');
    qToBigEndian(quint16(payload.size() + 2), length.data());
    return jpeg.left(2) + QByteArray::fromHex("ffe1") + length + payload + jpeg.mid(2);
}

} // namespace

TEST(ColorHistogram, FastPathMatchesThePlainLoop)
{
    const struct
    {
        const char* name;
        QImage image;
        unsigned flags;
    } rows[] = {
        {"random", randomImage(1200, 900, 1), 0},
        {"random, bright only", randomImage(640, 480, 2), 1},
        {"random, dark only", randomImage(640, 480, 3), 2},
        {"photo with alpha", premultipliedByOurRule(photoLike(800, 600, 8, true)), 0},
        {"one pixel", randomImage(1, 1, 4), 0},
        {"one tall column", premultipliedByOurRule(photoLike(1, 5000, 5)), 0},
        {"gradient, 17 megapixels, split over threads", gradient(4200, 4100), 0},
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
    // Straight pixels are premultiplied by our rule, rounded to nearest:
    // (c × a + 127) / 255.
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
}

TEST(CCColorCube, EveryOptionBit)
{
    const struct
    {
        const char* name;
        unsigned flags;
        QStringList expected;
    } rows[] = {
        {"none", 0, {"ff0000", "ffffff", "000000", "000050", "c8c8c8"}},
        {"brightOnly", 1, {"ff0000", "ffffff", "c8c8c8"}},
        {"darkOnly", 2, {"000000", "000050"}},
        {"brightOnly wins over darkOnly", 3, {"ff0000", "ffffff", "c8c8c8"}},
        {"distinctOnly, all far apart", 4, {"ff0000", "ffffff", "000000", "000050", "c8c8c8"}},
        {"sortByBrightness, ties keep their order", 8, {"ff0000", "ffffff", "c8c8c8", "000050", "000000"}},
        {"sortByDarkness", 16, {"000000", "000050", "c8c8c8", "ff0000", "ffffff"}},
        {"sortByBrightness wins", 24, {"ff0000", "ffffff", "c8c8c8", "000050", "000000"}},
        {"skipNearWhite", 32, {"ff0000", "000000", "000050"}},
        {"skipNearBlack", 64, {"ff0000", "ffffff", "c8c8c8"}},
        {"both skips", 96, {"ff0000"}},
    };
    for (const auto& row : rows) {
        CCColorCube cube;
        EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), row.flags)), row.expected)
            << row.name;
    }

    CCColorCube cube;
    const Color red = Color::fromIntegers(255, 0, 0);
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), 0, red)),
              QStringList({"ffffff", "000000", "000050", "c8c8c8"}));
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(fiveColours)), 0, 2)),
              QStringList({"ff0000", "ffffff"}));
    EXPECT_EQ(hexCodes(cube.extractBrightColorsFromImage(imageOf(rowOf(fiveColours)), Color::fromIntegers(255, 255, 255), 3)),
              QStringList({"ff0000"}));
    EXPECT_EQ(hexCodes(cube.extractDarkColorsFromImage(imageOf(rowOf(fiveColours)), std::nullopt, 1)),
              QStringList({"000000"}));
    // An image whose pixels cannot be had gives nothing.
    EXPECT_TRUE(cube.extractColorsFromImage([](ColorHistogram&) { return false; }, 4).empty());
    EXPECT_FALSE(cube.findLocalMaximaInImage([](ColorHistogram&) { return false; }, 4).has_value());
}

TEST(CCColorCube, EdgeCases)
{
    CCColorCube cube;
    // A single colour comes back exactly, in sRGB.
    const std::vector<Color> single =
        cube.extractColorsFromImage(imageOf(rowOf(pixelsOfRuns({{154, 162, 248, 1001}}))), 4);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], Color(154 / 255.0, 162 / 255.0, 248 / 255.0, ColorSpace::sRGB()));

    // Transparent pixels are black, whatever colour their bytes would have
    // had before premultiplying.
    const std::vector<uchar> clear(4 * 50, 0);
    std::vector<uchar> clearStraight = pixelsOfRuns({{90, 200, 10, 50}});
    for (size_t i = 3; i < clearStraight.size(); i += 4)
        clearStraight[i] = 0;
    for (const auto& pixels : {rowOf(clear), rowOf(clearStraight, ColorHistogram::PixelLayout::rgbaStraight)}) {
        const std::optional<CCColorCube::Maxima> black = cube.findLocalMaximaInImage(imageOf(pixels), 4);
        ASSERT_TRUE(black && black->size() == 1);
        EXPECT_EQ(hexCodes(*black), QStringList({"000000"}));
        EXPECT_EQ(black->front().hitCount, 50u);
    }

    // A plateau: cells 11 and 12 of the red axis with equal, highest counts
    // are both maxima, in visiting order; distinctOnly drops the second.
    const auto plateau = pixelsOfRuns({{110, 0, 0, 10}, {100, 0, 0, 10}, {0, 200, 0, 3}});
    EXPECT_EQ(hexCodes(*cube.findLocalMaximaInImage(imageOf(rowOf(plateau)), 0)),
              QStringList({"640000", "6e0000", "00c800"}));
    EXPECT_EQ(hexCodes(cube.extractColorsFromImage(imageOf(rowOf(plateau)), 4)), QStringList({"640000", "00c800"}));

    // Byte 255 lands in coordinate 29, alone: 254 is in 28.
    const std::optional<CCColorCube::Maxima> ends =
        cube.findLocalMaximaInImage(imageOf(rowOf(pixelsOfRuns({{255, 255, 255, 2}, {0, 0, 254, 1}}))), 0);
    ASSERT_TRUE(ends && ends->size() == 2);
    EXPECT_EQ(ends->at(0).cellIndex, 29u + 30 * 29 + 900 * 29);
    EXPECT_EQ(ends->at(1).cellIndex, 900u * 28);
}

TEST(CCColorCube, DistinctFilterComparesWithDroppedMaximaToo)
{
    // d(A, B) = 0.15, d(B, C) = 0.15, d(A, C) = 0.3: B goes for A, C for B.
    const CCColorCube::Maxima chain = {maximum(9, 0.2, 0.2, 0.2), maximum(8, 0.35, 0.2, 0.2),
                                       maximum(7, 0.5, 0.2, 0.2), maximum(6, 0.9, 0.9, 0.9)};
    const CCColorCube::Maxima kept = CCColorCube::filterDistinctMaxima(chain, 0.2);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].hitCount, 9u);
    EXPECT_EQ(kept[1].hitCount, 6u);
}

TEST(CCColorCube, AdaptiveFiltering)
{
    // Ten maxima more than 0.55 apart: no pass removes one, the first three stay.
    CCColorCube::Maxima far;
    for (int i = 0; i < 10; ++i)
        far.push_back(maximum(quint64(100 - i), i & 1, (i >> 1) & 1, i / 4 * 0.6));
    CCColorCube::Maxima three = CCColorCube::performAdaptiveDistinctFilteringForMaxima(far, 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[2].hitCount, 98u);

    // Close maxima are thinned while a pass leaves more than the count; the
    // pass that would leave the count or fewer is not taken.
    const CCColorCube::Maxima close = {maximum(9, 0, 0, 0), maximum(8, 0.12, 0, 0), maximum(7, 0.5, 0, 0),
                                       maximum(6, 0.64, 0, 0), maximum(5, 1, 0, 0)};
    const struct
    {
        int count;
        std::vector<quint64> hits;
    } rows[] = {{5, {9, 8, 7, 6, 5}}, {4, {9, 8, 7, 6}}, {3, {9, 8, 7}}, {2, {9, 7}}, {1, {9}}, {0, {}}};
    for (const auto& row : rows) {
        std::vector<quint64> hits;
        for (const CCLocalMaximum& m : CCColorCube::performAdaptiveDistinctFilteringForMaxima(close, row.count))
            hits.push_back(m.hitCount);
        EXPECT_EQ(hits, row.hits) << "count " << row.count;
    }
}

TEST(ImageHistogram, ReadsEveryFormatInItsOrientation)
{
    const QImage photo = photoLike(64, 40, 3);
    const struct
    {
        const char* name;
        QByteArray bytes;
        qint64 width, height;
    } rows[] = {
        {"png", encoded(photo, "png"), 64, 40},
        {"png with alpha", encoded(photoLike(64, 40, 3, true), "png"), 64, 40},
        {"jpeg", encoded(photo, "jpeg"), 64, 40},
        {"grey jpeg", encoded(photo.convertToFormat(QImage::Format_Grayscale8), "jpeg"), 64, 40},
        {"jpeg turned a quarter", encoded(photo, "jpeg", QImageIOHandler::TransformationRotate90), 40, 64},
        {"jpeg, Exif orientation 5", jpegWithExif(encoded(photo, "jpeg"), app1(false, 5)), 40, 64},
        {"jpeg, Exif orientation 8", jpegWithExif(encoded(photo, "jpeg"), app1(true, 8)), 40, 64},
        // Segments the orientation cannot be read from count as upright.
        {"jpeg, Exif orientation out of range", jpegWithExif(encoded(photo, "jpeg"), app1(true, 9)), 64, 40},
        {"jpeg, Exif cut short", jpegWithExif(encoded(photo, "jpeg"), app1(true, 6).left(20)), 64, 40},
        {"jpeg, no Exif", jpegWithExif(encoded(photo, "jpeg"), "http://ns.adobe.com/xap/1.0/"), 64, 40},
        {"tiff", encoded(photo, "tiff"), 64, 40},
        {"tiff turned a quarter", encoded(photo, "tiff", QImageIOHandler::TransformationRotate270), 40, 64},
    };
    for (const auto& row : rows) {
        ColorHistogram histogram;
        const ImageHistogram::Reading reading = ImageHistogram::addImageData(histogram, row.bytes);
        EXPECT_TRUE(reading.ok) << row.name << ": " << reading.error.toStdString();
        EXPECT_EQ(reading.width, row.width) << row.name;
        EXPECT_EQ(reading.height, row.height) << row.name;
        // Counted as Qt decodes it, JPEGs in our strips too.
        const QImage decoded = QImage::fromData(row.bytes).convertToFormat(QImage::Format_RGBA8888);
        EXPECT_EQ(histogram, histogramOf(pixelsOf(decoded, Layout::rgbaStraight))) << row.name;
    }
}

TEST(ImageHistogram, DamagedAndHugeImagesAreErrors)
{
    const QByteArray jpeg = encoded(photoLike(64, 64, 5), "jpeg");
    const QByteArray png = encoded(photoLike(64, 64, 5), "png");
    const struct
    {
        const char* name;
        QByteArray bytes;
        bool tooLarge;
    } rows[] = {
        {"empty", QByteArray(), false},
        {"not an image", QByteArray("GIF89a? no, just text"), false},
        {"jpeg start only", QByteArray::fromHex("ffd8ff"), false},
        {"jpeg cut in half", jpeg.left(jpeg.size() / 2), false},
        {"png cut in half", png.left(png.size() / 2), false},
        {"jpeg claiming 60000 × 60000", jpegClaiming(60000, 60000), true},
        {"png claiming 50000 × 50000", pngClaiming(50000, 50000), true},
        {"png claiming 2^31 × 2^31", pngClaiming(0x7fffffff, 0x7fffffff), false},
    };
    for (const auto& row : rows) {
        ColorHistogram histogram;
        const ImageHistogram::Reading reading = ImageHistogram::addImageData(histogram, row.bytes);
        EXPECT_FALSE(reading.ok) << row.name;
        EXPECT_FALSE(reading.error.isEmpty()) << row.name;
        EXPECT_EQ(reading.tooLarge, row.tooLarge) << row.name << ": " << reading.error.toStdString();
        EXPECT_EQ(histogram, ColorHistogram()) << row.name << ": nothing may be counted";
    }
}

TEST(ImageHistogram, EmbeddedProfilesAreConvertedToSrgb)
{
    // One colour in Adobe RGB: counted as its sRGB colour, which Qt's own
    // conversion gives within a step.
    QImage adobe(16, 16, QImage::Format_RGB32);
    adobe.fill(QColor(60, 170, 90));
    adobe.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QColor expected = adobe.convertedToColorSpace(QColorSpace(QColorSpace::SRgb)).pixelColor(0, 0);
    for (const char* format : {"png", "jpeg"}) {
        CCColorCube cube;
        ImageHistogram::Reading reading;
        const std::vector<Color> colors =
            cube.extractColorsFromImage(ImageHistogram::imageData(encoded(adobe, format), &reading), 0);
        EXPECT_TRUE(reading.ok) << format;
        ASSERT_EQ(colors.size(), 1u) << format;
        const std::array<int, 3> got = colors[0].integerComponents();
        EXPECT_NEAR(got[0], expected.red(), 2) << format;
        EXPECT_NEAR(got[1], expected.green(), 2) << format;
        EXPECT_NEAR(got[2], expected.blue(), 2) << format;
    }
}
