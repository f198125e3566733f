#pragma once

#include "colour/ColorNotations.h"

#include <QString>
#include <QStringList>

// The two output forms of `huelark-cli`. Numbers are written as the main
// window shows them without units; the hex code in its stored form.
namespace NotationText {

// Nine lines, "name Periwinkle" and "hex 9aa2f8" to "uicolor UIColor(...)",
// each ending in "\n". The name comes first, as in the window.
QString plainBlock(const QString& name, const ColorNotations& notations);

// One JSON object on one line (no "\n"), its keys always in this order:
// input, name, hex, rgb, hsl, hsb, lab, cmyk, nscolor, uicolor.
QString jsonLine(const QString& input, const QString& name, const ColorNotations& notations);

// `{"rgb":[...],"cmyk":[...]}` on one line (no "\n").
QString jsonSpaces(const QStringList& rgbNames, const QStringList& cmykNames);

// `text` as a JSON string literal, quotes included.
QString jsonString(const QString& text);

} // namespace NotationText
