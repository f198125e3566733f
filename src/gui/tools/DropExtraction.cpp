#include "DropExtraction.h"

#include "tools/CCColorCube.h"
#include "tools/ColorHistogram.h"
#include "tools/ImageHistogram.h"

#include <QColorSpace>
#include <QCoreApplication>
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
    ImageHistogram::Reading reading;
    const CCImage picture = !job.imageData.isEmpty() ? ImageHistogram::imageData(job.imageData, &reading)
                            : !job.image.isNull()    ? pictureOf(job.image)
                                                     : ImageHistogram::stitchedFiles(job.files, &stitching);
    CCColorCube cube;
    for (const Color& color : cube.extractColorsFromImage(picture, CCColorCube::distinctOnly))
        result.colors << color;
    // The pictures are read while the cube counts them: what failed is
    // known only now.
    for (const auto& [path, failed] : stitching.failures)
        result.skipped << QStringLiteral("%1 (%2)").arg(QFileInfo(path).fileName(), failed.error);
    if (!job.imageData.isEmpty() && !reading.ok)
        result.skipped << QCoreApplication::translate("DropExtraction", "the dropped picture (%1)").arg(reading.error);
    return result;
}

} // namespace DropExtraction
