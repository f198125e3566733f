#pragma once

#include <QString>

#include <optional>

// List names are whatever the user typed; file names are what the file system
// takes. The mapping between them percent-encodes (as UTF-8 bytes, "%2F")
// every character that could make a name act as a path or hide it: "%"
// itself, "/", "\", control characters and a leading "." (so neither ".." nor
// a hidden file can come from a name). Everything else is kept as typed.
//
// A name too long for a file name keeps as much of its encoded form as fits,
// then "%~" and a hash of the whole name: "%~" is a spelling the encoder
// never makes, so such a file can never be taken for a shorter name. The
// whole name waits beside the list in a file of the same base name and
// nameExtension, which only listNameInFolder reads.
namespace ListFileName {

// Room left in a 255-byte file name for a prefix of up to 16 bytes
// ("huelark-") and an extension of up to 8 (".clr", ".gpl", ".json").
constexpr qsizetype maximumBytes = 255 - 16 - 8;

inline const QString nameExtension = QStringLiteral(".name");

// The base name (no extension) of the file of list `name`, at most
// maximumBytes in UTF-8. Nothing for an empty name and a name that is not
// valid Unicode (a lone surrogate has no UTF-8 form, so it could not come
// back).
std::optional<QString> fileNameForList(const QString& name);
// Whether a base name is the shortened form of a long name.
bool isShortened(const QString& baseName);

// The list name of a base name, only when the base name is exactly what
// fileNameForList makes of it: other spellings ("%2f", "%41", a bare "/",
// a leading ".") answer nothing, so two files can never claim one list.
// A shortened base name answers nothing here.
std::optional<QString> listNameForFile(const QString& baseName);
// As listNameForFile, and a shortened base name by the name kept beside it
// in `folder`, when that name does shorten to this very base name.
std::optional<QString> listNameInFolder(const QString& folder, const QString& baseName);

} // namespace ListFileName
