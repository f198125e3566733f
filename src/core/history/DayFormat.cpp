#include "DayFormat.h"

#include <algorithm>
#include <vector>

namespace {

// One piece of a QLocale date pattern: a run of one field letter, or literal
// text exactly as written in the pattern (quotes included).
struct Token
{
    QString text;
    bool field = false;
    bool isWeekday() const { return field && text.startsWith(u'd') && text.size() >= 3; }
};

bool isFieldLetter(QChar c)
{
    return c == u'd' || c == u'M' || c == u'y';
}

std::vector<Token> tokenize(const QString& pattern)
{
    std::vector<Token> tokens;
    auto literal = [&tokens]() -> QString& {
        if (tokens.empty() || tokens.back().field)
            tokens.push_back({QString(), false});
        return tokens.back().text;
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            // A quoted run ends at the next single quote; '' inside is a quote.
            qsizetype end = i + 1;
            while (end < pattern.size()) {
                if (pattern[end] == u'\'' && (end + 1 >= pattern.size() || pattern[end + 1] != u'\''))
                    break;
                end += pattern[end] == u'\'' ? 2 : 1;
            }
            literal() += pattern.mid(i, end - i + 1);
            i = end + 1;
        } else if (isFieldLetter(c)) {
            qsizetype end = i;
            while (end < pattern.size() && pattern[end] == c)
                ++end;
            tokens.push_back({pattern.mid(i, end - i), true});
            i = end;
        } else {
            literal() += c;
            ++i;
        }
    }
    return tokens;
}

// A literal before a trailing weekday, without what separates the two:
// spaces and commas (", ", the Arabic "، "), but not a mark that belongs to
// the field before it (the "." of Hungarian "d., dddd").
QString withoutTrailingSeparator(QString literal)
{
    while (!literal.isEmpty()) {
        const QChar c = literal.back();
        if (!c.isSpace() && c != u',' && c != u'\u060C' && c != u'\uFF0C' && c != u'\u3001')
            break;
        literal.chop(1);
    }
    return literal;
}

} // namespace

namespace DayFormat {

QString mediumFormat(const QLocale& locale)
{
    std::vector<Token> tokens = tokenize(locale.dateFormat(QLocale::LongFormat));

    const auto weekday = std::find_if(tokens.begin(), tokens.end(), [](const Token& t) { return t.isWeekday(); });
    if (weekday != tokens.end()) {
        const bool first = std::none_of(tokens.begin(), weekday, [](const Token& t) { return t.field; });
        auto from = weekday, to = weekday + 1;
        if (first) {
            // Leading weekday: whatever stands between it and the date is
            // part of the weekday phrase ("dddd, ", "ddddที่ ").
            if (to != tokens.end() && !to->field)
                ++to;
            from = tokens.begin();
        } else if (from != tokens.begin() && !(from - 1)->field) {
            // Trailing or inner weekday: drop the separator before it, but
            // keep what belongs to the preceding field ("d日", "d., ").
            (from - 1)->text = withoutTrailingSeparator((from - 1)->text);
        }
        tokens.erase(from, to);
    }

    QString pattern;
    for (const Token& t : tokens)
        pattern += t.field && t.text == u"MMMM" ? QStringLiteral("MMM") : t.text;
    return pattern.trimmed();
}

QString dayString(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, mediumFormat(locale));
}

QDate dateFromDayString(const QString& day, const QLocale& locale)
{
    return locale.toDate(day, mediumFormat(locale));
}

QStringList sortedNewestFirst(const QStringList& days, const QLocale& locale)
{
    const QString format = mediumFormat(locale);
    std::vector<std::pair<QDate, QString>> keyed;
    keyed.reserve(days.size());
    for (const QString& day : days)
        keyed.emplace_back(locale.toDate(day, format), day);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first.isValid() != b.first.isValid())
            return a.first.isValid();
        if (a.first != b.first)
            return a.first > b.first;
        return a.second > b.second;
    });
    QStringList sorted;
    sorted.reserve(days.size());
    for (auto& [date, day] : keyed)
        sorted << day;
    return sorted;
}

} // namespace DayFormat
