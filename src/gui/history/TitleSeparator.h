#pragma once

#include <QFont>
#include <QFontMetrics>

// The dot between a history entry's name and its code: the katakana middle
// dot where a font of the system can draw it (fallbacks count), else the
// Latin middle dot rather than a box.
inline QChar titleSeparator(const QFont& font)
{
    return QFontMetrics(font).inFont(QChar(0x30FB)) ? QChar(0x30FB) : QChar(0x00B7);
}
