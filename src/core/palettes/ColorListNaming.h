#pragma once

#include "ColorList.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// The two naming rules of palettes: a name for a new list that no list has
// yet, and a key for a colour added to a list under a name it may already
// hold.
namespace ColorListNaming {

// `wanted` itself when no list has it, otherwise the first of "wanted (2)",
// "wanted (3)"... that is free. The number always follows the wanted name
// ("palette (2)" taken gives "palette (2) (2)", not "palette (3)"), and names
// compare exactly, letter case included.
QString getOriginalName(const QString& wanted, const QSet<QString>& taken);

// Adds `color` (held in `wellSpace`) to `list` under `name` and answers the
// key it is under. A name already taken by another colour becomes
// name_hexcode (Red_ff0000), the code being the colour's in `wellSpace`; when
// that is taken by yet another colour, "Red_ff0000 2", "Red_ff0000 3"...
// A colour already in the list under one of those keys stays where it is and
// nothing is added.
QString addColor(const Color& color, const QString& name, ColorList& list, const ColorSpacePtr& wellSpace);

// A list named `name` of `entries` in order, as an import makes it: each
// colour moved to `wellSpace` (kept as it is when it cannot be) and added by
// addColor under its own key, or under `nameForColor` of it when the entry
// has no key.
ColorList listWithUniqueKeys(const QString& name, const QList<ColorList::Entry>& entries,
                             const std::function<QString(const Color&)>& nameForColor,
                             const ColorSpacePtr& wellSpace);

} // namespace ColorListNaming
