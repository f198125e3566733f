#include "HistoryEntry.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "colour/ValueArchive.h"

namespace {

Color colorFromCode(const QString& code, const ColorSpacePtr& wellSpace)
{
    if (std::optional<Color> color = HexCodec::colorWithHexColorString(code, wellSpace))
        return *color;
    // The well's space cannot take the colour: keep it in sRGB rather than
    // lose it (a code is sRGB, so this cannot fail).
    return HexCodec::colorWithHexColorString(code, ColorSpace::sRGB()).value_or(Color());
}

} // namespace

HistoryEntry HistoryEntry::fromArchives(const QString& name, const QDateTime& saved, QByteArrayView last,
                                        QByteArrayView colors, const ColorSpacePtr& wellSpace)
{
    HistoryEntry entry;
    entry.name = name;
    entry.saved = saved;
    entry.last = colorFromCode(ValueArchive::unarchiveString(last).value_or(QString()), wellSpace);
    if (const std::optional<QVariantList> codes = ValueArchive::unarchiveList(colors)) {
        entry.colors.reserve(codes->size());
        for (const QVariant& code : *codes) {
            if (code.typeId() == QMetaType::QString)
                entry.colors.append(colorFromCode(code.toString(), wellSpace));
        }
    }
    return entry;
}
