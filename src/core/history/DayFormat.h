#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

// Day strings: the key under which the history files each entry, and the
// titles of the History menu's day items. A day string is the date in the
// locale's medium style, "Dec 6, 2026" in American English, "6. Dez. 2026" in
// German.
//
// Qt offers long and short date formats but no medium one, so the medium
// format is derived from the long one: the weekday field (ddd or dddd) is
// dropped with the separators that tie it to the rest, and the full month
// name (MMMM) becomes the abbreviated one (MMM). Words in the pattern that
// belong to the date stay ("'de'" in Spanish, the 年月日 marks of
// Japanese). Day strings are stored as text and never rewritten, so entries
// recorded under another locale keep that locale's strings.
namespace DayFormat {

// The derived medium pattern of `locale`, in QLocale's format syntax.
QString mediumFormat(const QLocale& locale = QLocale());

// The day string of `date`.
QString dayString(const QDate& date, const QLocale& locale = QLocale());

// The date a day string names; invalid when it does not read as a medium date
// of `locale` (a string recorded under another locale, for example).
QDate dateFromDayString(const QString& day, const QLocale& locale = QLocale());

// The order of the History menu: later dates first. Strings that do not read
// as dates of `locale` follow all the others, in descending string order, so
// that the placement is stable from one opening to the next.
QStringList sortedNewestFirst(const QStringList& days, const QLocale& locale = QLocale());

} // namespace DayFormat
