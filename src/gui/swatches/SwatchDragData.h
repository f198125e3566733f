#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <optional>

class QMimeData;

// What a dragged swatch carries, and what the column takes from a drop.
//
// A swatch leaves with three forms: Qt's colour type (application/x-color),
// so colour wells of other programs take it; its hex code as text, so a text
// field takes the code; and, privately, its row and the column it came from,
// so that a drop back on the same column is a move and not a new colour.
namespace SwatchDragData {

extern const QString rowMimeType; // "application/x-huelark-swatch"

// The drag of row `row` of the column identified by `source`.
QMimeData* forRow(int row, const QByteArray& source, const QColor& color, const QString& hexCode);

// The row of a drag that came from the column `source`; nothing for drags
// from anywhere else (another column, another program).
std::optional<int> sourceRow(const QMimeData* data, const QByteArray& source);

// The colour a drop from elsewhere brings: Qt's colour type, or else a text
// that is a hex code and nothing more (3 or 6 digits, "#" optional,
// surrounding white space ignored). Nothing for anything else, so that
// dropping a sentence never adds a colour.
std::optional<QColor> droppedColor(const QMimeData* data);

} // namespace SwatchDragData
