#pragma once

#include "colour/Color.h"

#include <QColor>

#include <optional>

class QWidget;

// Colour questions the window's custom controls ask while drawing: whether
// they sit in a dark theme, a faded variant of a colour, and the desktop's
// accent colour.
namespace AppearanceColors {

// True when the widget's palette is a dark theme: its window background is
// darker than the text drawn on it.
bool appearanceIsDark(const QWidget* view);

// The same colour at half its opacity; nothing for an invalid colour.
std::optional<QColor> lighterColorFromColor(const QColor& color);

// The colour as the screen shows it: its sRGB components (its own when it
// cannot be converted).
QColor onScreen(const Color& color);

// The desktop's accent colour (the selection colour of the current theme).
QColor UIAccentColor();

} // namespace AppearanceColors
