#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// The stored form of a string and of a list, beside ColorArchive's form of a
// colour. The history keeps a recorded colour's hex code as an archived
// string and the swatch column's codes as an archived list. Equal values
// give equal bytes, so stored values can be compared byte for byte.
//
// Layouts, all integers big-endian and unsigned:
//   string  4 bytes magic "HLS1", 4 bytes length n, n bytes of UTF-8
//   list    4 bytes magic "HLL1", 4 bytes element count, then per element
//           1 byte kind ('s' text in UTF-8, 'b' bytes), 4 bytes length n,
//           n bytes
// Nothing follows. A list element of an unknown kind is read as bytes, so a
// later form can add kinds that older readers skip as "not a string".
// Wrong magic, a length past the end or bytes left over make the whole value
// unreadable.
namespace ValueArchive {

QByteArray archiveString(const QString& text);
std::optional<QString> unarchiveString(QByteArrayView bytes);

QByteArray archiveStringList(const QStringList& list);
// Elements holding a QString are stored as text; every other element as
// bytes (QVariant::toByteArray()).
QByteArray archiveList(const QVariantList& list);
// Text elements come back as QString, all others as QByteArray.
std::optional<QVariantList> unarchiveList(QByteArrayView bytes);

} // namespace ValueArchive
