#pragma once

#include "names/NameTable.h"

#include "colour/Color.h"

#include <QString>
#include <QTextStream>

#include <memory>
#include <optional>

// Where the name commands get their names, and how they read a VALUE that
// may be a colour name.
namespace NameSource {

// The database `option` names; without one, the live database of the
// support folder when there is one, else the database shipped with the
// program. Empty when there is none.
QString databasePath(const QString& option);

// The names of that database. Null, with one error line on `err`, when it
// does not exist, cannot be read to its end, or holds no names. A damaged
// live database of the support folder is reported and the shipped names
// are used instead.
std::shared_ptr<const NameTable> load(const QString& option, QTextStream& err);

// A VALUE: exactly a name of `names` is that name's colour (its code read into
// `wellSpace`); anything else is read as convert reads it.
std::optional<Color> readValue(const QString& text, const ColorSpacePtr& wellSpace, const NameTable* names);

} // namespace NameSource
