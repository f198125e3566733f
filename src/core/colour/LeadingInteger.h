#pragma once

#include <QStringView>

// The integer a number field holds, read the way the desktop reads the
// leading integer of a text: leading white space is skipped, then an
// optional sign, then decimal digits up to the first other character. A text
// with no digits there reads as 0, so "", "-", "%5" and "abc" are all 0 and a
// trailing "%" or "°" is ignored ("40%" is 40). Values beyond the range of
// int are held at its ends.
int leadingInteger(QStringView text);
