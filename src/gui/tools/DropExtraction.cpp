#include "DropExtraction.h"

#include "tools/CCColorCube.h"
#include "tools/ColorHistogram.h"
#include "tools/ImageHistogram.h"

#include <QColorSpace>
#include <QFileInfo>

namespace DropExtraction {

namespace {

// A dropped picture as the cube counts it: in sRGB, and with straight
// alpha that the histogram premultiplies by its own rule.
CCImage pictureOf(QImage image)
{
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    image.convertTo(QImage::Format_RGBA8888);
    return [image](ColorHistogram& cells) {
        cells.addPixels({image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                         ColorHistogram::PixelLayout::rgbaStraight});
        return true;
    };
}

} // namespace

DropColors extract(const DropJob& job)
{
    DropColors result;
    ImageHistogram::Stitching stitching;
    const CCImage picture = job.image.isNull() ? ImageHistogram::stitchedFiles(job.files, &stitching)
                                               : pictureOf(job.image);
    for (const auto& [path, reading] : stitching.failures)
        result.skipped << QStringLiteral("%1 (%2)").arg(QFileInfo(path).fileName(), reading.error);
    CCColorCube cube;
    for (const Color& color : cube.extractColorsFromImage(picture, CCColorCube::distinctOnly))
        result.colors << color;
    return result;
}

} // namespace DropExtraction
