#include "QtPrinters.h"

#include "history/DayFormat.h"

#include <gtest/gtest.h>

namespace {

const QDate dec6(2026, 12, 6);

} // namespace

TEST(DayFormat, MediumDateOfSeveralLocales)
{
    const struct { const char* locale; const char* pattern; const char* day; } rows[] = {
        {"en_US", "MMM d, yyyy", "Dec 6, 2026"},
        {"en_GB", "d MMM yyyy", "6 Dec 2026"},
        {"de_DE", "d. MMM yyyy", "6. Dez. 2026"},
        {"fr_FR", "d MMM yyyy", "6 déc. 2026"},
        {"es_ES", "d 'de' MMM 'de' yyyy", "6 de dic de 2026"},
        {"ja_JP", "yyyy年M月d日", "2026年12月6日"},
        {"ko_KR", "yyyy년 M월 d일", "2026년 12월 6일"},
        {"hu_HU", "yyyy. MMM d.", "2026. dec. 6."},
        {"tr_TR", "d MMM yyyy", "6 Ara 2026"},
    };
    for (const auto& row : rows) {
        const QLocale locale(QString::fromLatin1(row.locale));
        EXPECT_EQ(DayFormat::mediumFormat(locale), QString::fromUtf8(row.pattern)) << row.locale;
        EXPECT_EQ(DayFormat::dayString(dec6, locale), QString::fromUtf8(row.day)) << row.locale;
    }
}

// The menu orders days by reading their strings back: every day of a year
// must come back as itself, whatever the locale's script or digits.
TEST(DayFormat, EveryDayReadsBackInItsLocale)
{
    for (const char* name : {"en_US", "en_GB", "de_DE", "fr_FR", "es_ES", "ja_JP", "zh_CN", "ru_RU", "ar_EG",
                             "ko_KR", "fi_FI", "hu_HU", "he_IL", "th_TH", "fa_IR", "C"}) {
        const QLocale locale(QString::fromLatin1(name));
        int failures = 0;
        for (QDate date(2026, 1, 1); date.year() == 2026 && failures < 3; date = date.addDays(1)) {
            const QString day = DayFormat::dayString(date, locale);
            if (DayFormat::dateFromDayString(day, locale) != date) {
                ++failures;
                ADD_FAILURE() << name << ": \"" << day.toStdString() << "\" does not read back as "
                              << date.toString(Qt::ISODate).toStdString();
            }
        }
    }
}

TEST(DayFormat, SortsLaterDatesFirstAndForeignStringsLast)
{
    const QLocale english("en_US");
    const QStringList days = {"Jan 2, 2026", "6. Dez. 2026", "Dec 6, 2026", "Feb 1, 2025", "Mar 10, 2026",
                              "2026年12月6日"};
    // Plain string order would put "Mar" before "Jan" and "Feb" 2025 first;
    // strings of other locales keep a fixed place after every date.
    const QStringList expected = {"Dec 6, 2026", "Mar 10, 2026", "Jan 2, 2026", "Feb 1, 2025", "6. Dez. 2026",
                                  "2026年12月6日"};
    EXPECT_EQ(DayFormat::sortedNewestFirst(days, english), expected);
    QStringList reversed = days;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(DayFormat::sortedNewestFirst(reversed, english), expected);
}
