#include "FuzzSupport.h"

#include "tools/CCColorCube.h"
#include "tools/ImageHistogram.h"

// Dropped files and image data: whatever a file claims, reading it must
// end in colours or an error, within the pixel cap.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    CCColorCube cube;
    cube.extractColorsFromImage([&](ColorHistogram& cells) { return ImageHistogram::addImageData(cells, bytes).ok; },
                                CCColorCube::distinctOnly);
    return 0;
}
