#pragma once

#include <QString>

#include <optional>

// List names are whatever the user typed; file names are what the file system
// takes. The mapping between them percent-encodes (as UTF-8 bytes, "%2F")
// every character that could make a name act as a path or hide it: "%"
// itself, "/", "\", control characters and a leading "." (so neither ".." nor
// a hidden file can come from a name). Everything else is kept as typed.
namespace ListFileName {

// Room left in a 255-byte file name for a prefix of up to 16 bytes
// ("huelark-") and an extension of up to 8 (".clr", ".gpl", ".json").
constexpr qsizetype maximumBytes = 255 - 16 - 8;

// The base name (no extension) of the file of list `name`. Nothing for an
// empty name, a name that is not valid Unicode (a lone surrogate has no UTF-8
// form, so it could not come back) and a name whose encoded form would be
// longer than maximumBytes in UTF-8.
std::optional<QString> fileNameForList(const QString& name);

// The list name of a base name, only when the base name is exactly what
// fileNameForList makes of it: other spellings ("%2f", "%41", a bare "/",
// a leading ".") answer nothing, so two files can never claim one list.
std::optional<QString> listNameForFile(const QString& baseName);

} // namespace ListFileName
