#include "TestImages.h"

#include "tools/ImageHistogram.h"
#include "tools/JpegHistogram.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

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
        {"jpeg turned half", encoded(photo, "jpeg", QImageIOHandler::TransformationRotate180), 64, 40},
        {"jpeg, Exif orientation 3", jpegWithExif(encoded(photo, "jpeg"), app1(true, 3)), 64, 40},
        {"jpeg, Exif orientation 5", jpegWithExif(encoded(photo, "jpeg"), app1(false, 5)), 40, 64},
        {"jpeg, Exif orientation 8", jpegWithExif(encoded(photo, "jpeg"), app1(true, 8)), 40, 64},
        {"webp", encoded(photo, "webp"), 64, 40},
        {"tiff", encoded(photo, "tiff"), 64, 40},
        {"tiff turned a quarter", encoded(photo, "tiff", QImageIOHandler::TransformationRotate270), 40, 64},
        {"bmp", encoded(photo, "bmp"), 64, 40},
    };
    for (const auto& row : rows) {
        ColorHistogram histogram;
        const ImageHistogram::Reading reading = ImageHistogram::addImageData(histogram, row.bytes);
        EXPECT_TRUE(reading.ok) << row.name << ": " << reading.error.toStdString();
        EXPECT_EQ(reading.width, row.width) << row.name;
        EXPECT_EQ(reading.height, row.height) << row.name;
        EXPECT_EQ(histogram.countedPixels(), 64u * 40) << row.name;
    }
}

TEST(ImageHistogram, JpegStripsCountWhatQtDecodes)
{
    const QByteArray jpeg = encoded(photoLike(640, 480, 4), "jpeg");
    ColorHistogram ours, qts;
    ASSERT_TRUE(ImageHistogram::addImageData(ours, jpeg).ok);
    const QImage decoded = QImage::fromData(jpeg).convertToFormat(QImage::Format_RGBX8888);
    qts.addPixels({decoded.constBits(), 640, 480, decoded.bytesPerLine(), ColorHistogram::PixelLayout::rgbx});
    EXPECT_EQ(ours, qts);
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
    ASSERT_NE(expected, QColor(60, 170, 90));
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

// Segments the orientation cannot be read from count as upright.
TEST(ImageHistogram, ExifOrientationOfDamagedSegments)
{
    const struct
    {
        const char* name;
        QByteArray segment;
        int orientation;
    } rows[] = {
        {"out of range", app1(true, 9), 1},
        {"cut short", app1(true, 6).left(20), 1},
        {"no Exif", QByteArray("http://ns.adobe.com/xap/1.0/"), 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(JpegHistogram::exifOrientation(row.segment), row.orientation) << row.name;
}
