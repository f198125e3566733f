#include "JpegHistogram.h"

#include "IccToSrgb.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csetjmp>
#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

constexpr int stripRows = 32;

// Two strips: libjpeg decodes into one while a worker counts the other, so
// counting costs next to nothing on top of decoding when a core is free.
struct Strips
{
    std::vector<uchar> buffers[2];
    QFuture<void> counting;
};

struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    bool truncated = false;
};

void failJump(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->manager.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void noteMessage(j_common_ptr info, int level)
{
    // A file that ends early is decoded to the end in grey by libjpeg; that
    // grey is not in the photo, so the file counts as damaged. Other
    // warnings (stray bytes between markers) are common and harmless.
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF)
        errors->truncated = true;
}

quint32 readNumber(const uchar* p, int size, bool bigEndian)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value |= quint32(p[bigEndian ? i : size - 1 - i]) << (8 * (size - 1 - i));
    return value;
}

// Decodes rows strip by strip into `counter`; no object with a destructor
// lives in this frame, as libjpeg leaves it with longjmp on errors.
void decodeRows(jpeg_decompress_struct& info, ColorHistogram::StripCounter& counter, Strips& strips,
                qint64 bytesPerLine, const IccToSrgb* icc)
{
    JSAMPROW rows[stripRows];
    int current = 0;
    while (info.output_scanline < info.output_height) {
        uchar* strip = strips.buffers[current].data();
        for (int i = 0; i < stripRows; ++i)
            rows[i] = strip + i * bytesPerLine;
        int got = 0;
        while (got < stripRows && info.output_scanline < info.output_height)
            got += static_cast<int>(jpeg_read_scanlines(&info, rows + got, static_cast<JDIMENSION>(stripRows - got)));
        strips.counting.waitForFinished();
        const qint64 width = info.output_width;
        strips.counting = QtConcurrent::run([&counter, strip, width, got, bytesPerLine, icc] {
            if (icc)
                icc->convert(strip, width, got, bytesPerLine);
            counter.addRows({strip, width, got, bytesPerLine, ColorHistogram::PixelLayout::rgbx});
        });
        current = 1 - current;
    }
    strips.counting.waitForFinished();
}

} // namespace

namespace JpegHistogram {

bool isJpeg(QByteArrayView bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

int exifOrientation(QByteArrayView app1)
{
    // "Exif\0\0", then a TIFF header and the first directory, whose entries
    // are 12 bytes: tag, type, count, value. Orientation is tag 0x0112.
    const auto* p = reinterpret_cast<const uchar*>(app1.data());
    const qsizetype size = app1.size();
    if (size < 14 || std::memcmp(p, "Exif\0\0", 6) != 0)
        return 1;
    const uchar* tiff = p + 6;
    const qsizetype tiffSize = size - 6;
    const bool big = tiff[0] == 'M';
    if (!big && tiff[0] != 'I')
        return 1;
    const quint32 directory = readNumber(tiff + 4, 4, big);
    if (directory > quint64(tiffSize) - 2)
        return 1;
    const quint32 entries = readNumber(tiff + directory, 2, big);
    for (quint32 i = 0; i < entries; ++i) {
        const quint64 entry = quint64(directory) + 2 + 12 * quint64(i);
        if (entry + 12 > quint64(tiffSize))
            return 1;
        if (readNumber(tiff + entry, 2, big) == 0x0112) {
            const quint32 value = readNumber(tiff + entry + 8, 2, big);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

Outcome add(ColorHistogram& into, QByteArrayView bytes, ImageHistogram::Reading& reading)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJump;
    errors.manager.emit_message = noteMessage;
    ColorHistogram::StripCounter counter(into);
    Strips strips;
    std::unique_ptr<IccToSrgb> icc;
    if (setjmp(errors.jump)) {
        strips.counting.waitForFinished();
        jpeg_destroy_decompress(&info);
        reading.error = QString::fromLocal8Bit(errors.message);
        return Outcome::failed;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);

    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return Outcome::notHandled;
    }
    const qint64 width = info.image_width, height = info.image_height;
    int orientation = 1;
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && orientation == 1)
            orientation = exifOrientation(
                QByteArrayView(reinterpret_cast<const char*>(m->data), static_cast<qsizetype>(m->data_length)));
    // Orientations 5 to 8 turn the image a quarter.
    reading.width = orientation >= 5 ? height : width;
    reading.height = orientation >= 5 ? width : height;
    if (width * height > ImageHistogram::maximumPixels) {
        jpeg_destroy_decompress(&info);
        reading.tooLarge = true;
        return Outcome::failed;
    }
    JOCTET* profile = nullptr;
    unsigned int profileSize = 0;
    if (jpeg_read_icc_profile(&info, &profile, &profileSize)) {
        icc = IccToSrgb::forProfile(
            QByteArrayView(reinterpret_cast<const char*>(profile), static_cast<qsizetype>(profileSize)));
        std::free(profile);
    }

    info.out_color_space = JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    const qint64 bytesPerLine = 4 * qint64(info.output_width);
    for (std::vector<uchar>& buffer : strips.buffers)
        buffer.resize(static_cast<size_t>(bytesPerLine * stripRows));
    decodeRows(info, counter, strips, bytesPerLine, icc.get());
    // Only a file cut within the pixels is damaged: one that lacks just its
    // end marker has given every row.
    const bool truncated = errors.truncated;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (truncated) {
        reading.error = QStringLiteral("the file ends before the image does");
        return Outcome::failed;
    }
    counter.commit();
    reading.ok = true;
    return Outcome::counted;
}

} // namespace JpegHistogram
