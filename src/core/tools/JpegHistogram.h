#pragma once

#include "ImageHistogram.h"

// JPEG files through libjpeg-turbo's libjpeg interface, the one that hands
// out rows as they are decoded (its TurboJPEG interface, as of 2.1, decodes
// whole images only): a strip of rows at a time goes into the histogram, so
// a 24-megapixel photo never exists as a whole in memory, and a worker
// counts each strip while the next one decodes.
namespace JpegHistogram {

bool isJpeg(QByteArrayView bytes);

enum class Outcome { counted, failed, notHandled };
// `notHandled` for JPEGs of CMYK and YCCK colour, which Qt's reader (with
// its handling of Adobe's inverted CMYK) counts instead.
Outcome add(ColorHistogram& into, QByteArrayView bytes, ImageHistogram::Reading& reading);

// The EXIF orientation (1..8) in an APP1 segment's payload; 1 when absent.
int exifOrientation(QByteArrayView app1);

} // namespace JpegHistogram
