#include "ImageHistogram.h"

#include "IccToSrgb.h"
#include "JpegHistogram.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace {

using ImageHistogram::Reading;

QString tooLargeMessage(qint64 width, qint64 height)
{
    return QStringLiteral("the image is too large (%1 × %2 pixels; at most %3 million)")
        .arg(width)
        .arg(height)
        .arg(ImageHistogram::maximumPixels / 1'000'000);
}

// Every format but our JPEGs: the whole image is decoded by Qt, within the
// same pixel limit, and counted from memory.
Reading addThroughQt(ColorHistogram& into, QByteArrayView bytes)
{
    Reading reading;
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    // Qt's own cap, in megabytes, stands behind our check of the claimed size
    // for formats that cannot tell their size before decoding.
    reader.setAllocationLimit(static_cast<int>(ImageHistogram::maximumPixels * 8 / (1024 * 1024)) + 1);
    const QSize claimed = reader.size();
    const qint64 width = claimed.width(), height = claimed.height();
    if (claimed.isValid()) {
        const bool quarterTurn = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        reading.width = quarterTurn ? height : width;
        reading.height = quarterTurn ? width : height;
        if (width * height > ImageHistogram::maximumPixels) {
            reading.tooLarge = true;
            reading.error = tooLargeMessage(reading.width, reading.height);
            return reading;
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        reading.error = reader.errorString();
        return reading;
    }
    if (!claimed.isValid()) {
        const bool quarterTurn = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        reading.width = quarterTurn ? image.height() : image.width();
        reading.height = quarterTurn ? image.width() : image.height();
    }

    std::unique_ptr<IccToSrgb> icc;
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        icc = IccToSrgb::forProfile(space.iccProfile());
    // Premultiplied by our rule, not Qt's, unless the decoder itself gave
    // premultiplied pixels (then they stay as they are, unless a profile
    // needs the colour undivided).
    ColorHistogram::PixelLayout layout = ColorHistogram::PixelLayout::rgbx;
    if (!image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_RGBX8888);
    } else if (image.isGrayscale() || icc || image.pixelFormat().premultiplied() != QPixelFormat::Premultiplied) {
        image.convertTo(QImage::Format_RGBA8888);
        layout = ColorHistogram::PixelLayout::rgbaStraight;
    } else {
        image.convertTo(QImage::Format_RGBA8888_Premultiplied);
        layout = ColorHistogram::PixelLayout::rgbaPremultiplied;
    }
    if (image.isNull()) {
        reading.error = QStringLiteral("not enough memory for the image");
        return reading;
    }
    if (icc)
        icc->convert(image.bits(), image.width(), image.height(), image.bytesPerLine());
    into.addPixels({image.constBits(), image.width(), image.height(), image.bytesPerLine(), layout});
    reading.ok = true;
    return reading;
}

} // namespace

namespace ImageHistogram {

Reading addImageData(ColorHistogram& into, QByteArrayView bytes)
{
    if (JpegHistogram::isJpeg(bytes)) {
        Reading reading;
        switch (JpegHistogram::add(into, bytes, reading)) {
        case JpegHistogram::Outcome::counted:
            return reading;
        case JpegHistogram::Outcome::failed:
            if (reading.tooLarge)
                reading.error = tooLargeMessage(reading.width, reading.height);
            return reading;
        case JpegHistogram::Outcome::notHandled:
            break;
        }
    }
    return addThroughQt(into, bytes);
}

Reading addFile(ColorHistogram& into, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Reading reading;
        reading.error = file.errorString();
        return reading;
    }
    if (file.size() == 0) {
        Reading reading;
        reading.error = QStringLiteral("the file is empty");
        return reading;
    }
    // Mapped, not read: the decoders look at the file's bytes where they are.
    if (const uchar* mapped = file.map(0, file.size()))
        return addImageData(into, QByteArrayView(reinterpret_cast<const char*>(mapped), file.size()));
    const QByteArray bytes = file.readAll();
    return addImageData(into, bytes);
}

Stitching addStitchedFiles(ColorHistogram& into, const QStringList& paths)
{
    Stitching stitching;
    quint64 covered = 0;
    for (const QString& path : paths) {
        Reading reading = addFile(into, path);
        if (!reading.ok) {
            stitching.failures.emplace_back(path, std::move(reading));
            continue;
        }
        ++stitching.imagesRead;
        stitching.width += reading.width;
        stitching.height = std::max(stitching.height, reading.height);
        covered += static_cast<quint64>(reading.width * reading.height);
    }
    // In 128 bits: a thousand wide images side by side overflow 64.
    const auto area = static_cast<unsigned __int128>(stitching.width) * static_cast<unsigned __int128>(stitching.height);
    stitching.uncoveredPixels = static_cast<quint64>(area - covered);
    into.addTransparentPixels(stitching.uncoveredPixels);
    return stitching;
}

CCImage stitchedFiles(const QStringList& paths, Stitching* report)
{
    return [paths, report](ColorHistogram& cells) {
        Stitching stitching = addStitchedFiles(cells, paths);
        const bool any = stitching.imagesRead > 0;
        if (report)
            *report = std::move(stitching);
        return any;
    };
}

CCImage imageData(const QByteArray& bytes, Reading* report)
{
    return [bytes, report](ColorHistogram& cells) {
        Reading reading = addImageData(cells, bytes);
        const bool ok = reading.ok;
        if (report)
            *report = std::move(reading);
        return ok;
    };
}

} // namespace ImageHistogram
