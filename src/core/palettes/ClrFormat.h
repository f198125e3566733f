#pragma once

#include "ColorList.h"
#include "PaletteReadResult.h"

#include <QByteArray>

namespace ClrFormat {
PaletteReadResult readColorList(const QByteArray& bytes); // either .clr form
QByteArray writeColorList(const ColorList& list);          // the keyed form, sRGB
}
