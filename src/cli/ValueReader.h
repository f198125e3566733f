#pragma once

#include "colour/Color.h"

#include <QString>

#include <optional>

// Reads one VALUE of `huelark-cli convert` the way the main window reads what
// a user types into one of its fields, so that the command line and the
// window always agree on what a text means:
//
//   a hex code (9aa2f8, #ABC, 12, 1234)   as the hex field applies it while typing
//   rgb(R,G,B) hsl(H,S,L) hsb(H,S,B)       as typed into those three fields
//   lab(L,A,B) cmyk(C,M,Y,K)
//
// Function names are case-insensitive and white space may surround the name,
// the parentheses and each component. Every component must be a text its
// field would accept (the field's keystroke rule and maximum length), so
// "rgb(256,0,0)" and "lab(0,200,0)" are refused just as the window refuses
// them; unlike an emptied field, a component must hold at least one digit.
//
// The answer is the colour the window's well would then hold (sRGB, or
// `wellSpace` for codes); nothing when the text is not a value.
namespace ValueReader {

std::optional<Color> read(const QString& text, const ColorSpacePtr& wellSpace);

} // namespace ValueReader
