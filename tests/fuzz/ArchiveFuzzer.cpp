#include "FuzzSupport.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpaceRegistry.h"
#include "colour/ValueArchive.h"

#include <QVariant>

// Archived colours, strings and lists come back from the settings file and
// the history store, which anything may have written.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ColorSpaceRegistry registry(QStringList {});
    const QByteArray bytes = FuzzSupport::bytes(data, size);

    if (const std::optional<Color> color = ColorArchive::unarchive(bytes, registry)) {
        // A colour that reads back archives to bytes that read back the same.
        const std::optional<Color> again = ColorArchive::unarchive(ColorArchive::archive(*color), registry);
        if (!again || !(*again == *color))
            abort();
    }
    ColorArchive::getColorFromData(bytes, ColorArchive::defaultColor(), registry, ColorSpace::sRGB());

    ValueArchive::unarchiveString(bytes);
    if (const std::optional<QVariantList> list = ValueArchive::unarchiveList(bytes))
        for (const QVariant& element : *list)
            ColorArchive::unarchive(element.toByteArray(), registry);
    return 0;
}
