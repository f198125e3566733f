#pragma once

#include "CCColorCube.h"
#include "ColorHistogram.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Image files counted into a colour histogram without keeping the image:
// JPEG through libjpeg-turbo, decoded a strip of rows at a time; every other
// format Qt's image plugins read through QImageReader. Embedded ICC
// profiles of RGB images are converted to sRGB first. Safe on any thread.
namespace ImageHistogram {

// What a file may claim: larger images are refused before anything is
// allocated for them.
constexpr qint64 maximumPixels = 100'000'000;

struct Reading
{
    bool ok = false;
    // The image as shown, its EXIF orientation applied (the pixels are
    // counted as stored: turning an image does not change its histogram).
    qint64 width = 0;
    qint64 height = 0;
    QString error;         // why it failed, for the user
    bool tooLarge = false; // it claims more than maximumPixels
};

// Counts the image in `bytes` (a file's contents). On failure nothing has
// been counted.
Reading addImageData(ColorHistogram& into, QByteArrayView bytes);
Reading addFile(ColorHistogram& into, const QString& path);

struct Stitching
{
    int imagesRead = 0;
    qint64 width = 0;  // the stitched image: the widths summed
    qint64 height = 0; // and the tallest height
    quint64 uncoveredPixels = 0;
    std::vector<std::pair<QString, Reading>> failures; // path and reason, in order
};

// The files as one image, side by side, as the drop preview stitches them:
// their histograms summed plus the area above the shorter ones, transparent
// and so counted as black, without making the stitched image. Files that
// cannot be read are left out and listed.
Stitching addStitchedFiles(ColorHistogram& into, const QStringList& paths);

// The same as images for CCColorCube (dropped files, dropped image data);
// `report`, when given, receives the reading. They answer false when
// nothing could be read.
CCImage stitchedFiles(const QStringList& paths, Stitching* report = nullptr);
CCImage imageData(const QByteArray& bytes, Reading* report = nullptr);

} // namespace ImageHistogram
