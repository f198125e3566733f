#include "ClrFormat.h"

#include "KeyedColorList.h"
#include "TypedStreamColorList.h"

namespace ClrFormat {

PaletteReadResult readColorList(const QByteArray& bytes)
{
    if (bytes.size() > PaletteReadResult::maximumFileSize)
        return PaletteReadResult::tooLarge();
    if (bytes.startsWith("bplist00"))
        return KeyedColorList::readColorList(bytes);
    if (bytes.startsWith(QByteArrayView("\x04\x0bstreamtyped", 13)))
        return TypedStreamColorList::readColorList(bytes);
    return PaletteReadResult::refused(QStringLiteral(
        "This is not a colour list: it begins neither as a binary property list nor as a typed stream."));
}

QByteArray writeColorList(const ColorList& list) { return KeyedColorList::writeColorList(list); }

} // namespace ClrFormat
