#pragma once

#include "Color.h"

#include <QString>

#include <optional>

// Hexadecimal codes. The stored form is six lowercase digits without "#"
// (9aa2f8); the displayed form adds "#" when `showHexUnit` is on and is upper
// case unless `lowerCaseHEX` is on. A code is always read as sRGB.
namespace HexCodec {

// Drops one leading "#", skips leading white space and takes the longest run
// of hexadecimal digits (case as typed). Three digits are doubled (abc ->
// aabbcc) and six are kept, each with "#" in front when `showHexUnit` is on;
// a run of any other length comes back as it is, without "#". Nothing when
// there is no digit.
std::optional<QString> normalizedHEXcodeFromHEXvalue(const QString& text, bool showHexUnit);

// True when the text, after leading white space and at most one "#", begins
// with a hexadecimal digit.
bool isValidHEX(const QString& text);

// The colour a code names: its digits read as one number (so "ab" is blue
// 171 and "abcde" is 0a bc de), red, green and blue from bits 16-23, 8-15 and
// 0-7, each over 255 in single precision, as sRGB; then moved to `wellSpace`.
// Black for text without digits. Nothing only when that move fails.
std::optional<Color> colorWithHexColorString(const QString& text, const ColorSpacePtr& wellSpace);

// The colour whose integer components in `space` are the code's digits, read
// as colorWithHexColorString reads them: what the window's hex field means,
// since the field shows the components in the window's space. Codes from
// outside the window (files, drops, the command line) are sRGB and go through
// colorWithHexColorString instead.
Color colorInSpace(const QString& text, const ColorSpacePtr& space);

// The stored form of a colour's integer components in `wellSpace`; nothing
// when the colour cannot be moved there.
std::optional<QString> hexCodeForColor(const Color& color, const ColorSpacePtr& wellSpace);

// The code that tells colours apart where duplicates are refused or recorded:
// the stored form in `wellSpace`, or of the colour's own integer components
// when it cannot be moved there.
QString keyForColor(const Color& color, const ColorSpacePtr& wellSpace);

// The stored form of three integer components.
QString storedForm(int red, int green, int blue);

// What the hexadecimal field shows for `text`: upper case unless
// `lowerCaseHEX` is on ("#" is unaffected).
QString fieldText(const QString& text, bool lowerCaseHEX);

// The displayed form of a stored code.
QString displayedForm(const QString& storedCode, bool showHexUnit, bool lowerCaseHEX);

// What the hexadecimal field holds once editing ends: the normalised text in
// the field's case when it is valid, otherwise the text unchanged.
QString fixHexfieldLength(const QString& text, bool showHexUnit, bool lowerCaseHEX);

} // namespace HexCodec
