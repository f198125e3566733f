#pragma once

#include <QString>

// Ready-to-paste colour constructors for the desktop (NSColor) and mobile
// (UIColor) colour classes, from three decimal strings, alpha always 1.0.
namespace CodeStrings {

enum class ColorClass { NSColor, UIColor };

// Initializer syntax: NSColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)
// Message syntax:     [NSColor colorWithRed:154/255.0 green:162/255.0 blue:248/255.0 alpha:1.0]
QString code(ColorClass colorClass, const QString& red, const QString& green, const QString& blue, bool useObjCSyntax);

} // namespace CodeStrings
