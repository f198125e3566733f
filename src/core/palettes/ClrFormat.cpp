#include "ClrFormat.h"

#include "GimpPalette.h"

// A stand-in until the .clr codec lands: the colour-list store and its
// callers need a codec that keeps names, keys and colours, and the GIMP
// codec does. The real codec replaces this file, with the same interface.
namespace ClrFormat {

PaletteReadResult readColorList(const QByteArray& bytes)
{
    return GimpPalette::readColorList(bytes);
}

QByteArray writeColorList(const ColorList& list)
{
    return GimpPalette::writeColorList(list);
}

} // namespace ClrFormat
