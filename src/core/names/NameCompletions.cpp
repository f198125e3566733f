#include "NameCompletions.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>

namespace {

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QString NameCompletions::folded(const QString& text)
{
    if (isAscii(text))
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString bare;
    bare.reserve(decomposed.size());
    for (QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining
            && category != QChar::Mark_Enclosing)
            bare += c;
    }
    return bare.toCaseFolded();
}

NameCompletions::NameCompletions(const QStringList& names)
{
    std::vector<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    // Names the collation holds equal ("Red", "red") still get one fixed order.
    auto sortBy = [&](auto compare) {
        std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            const int byCollation = compare(a, b);
            return byCollation != 0 ? byCollation < 0 : names[a] < names[b];
        });
    };
    const QLocale locale;
    if (locale.language() == QLocale::C) {
        // The C locale's sort keys are the plain texts, letter case included.
        sortBy([&](qsizetype a, qsizetype b) { return names[a].compare(names[b], Qt::CaseInsensitive); });
    } else {
        // Comparing through sort keys made once is many times faster than
        // collating the same names again at every comparison.
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(names.size());
        for (const QString& name : names)
            keys.push_back(collator.sortKey(name));
        sortBy([&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]); });
    }

    sortedNames.reserve(order.size());
    foldedNames.reserve(order.size());
    for (qsizetype i : order) {
        sortedNames.push_back(names[i]);
        foldedNames.push_back(folded(names[i]));
    }
}

QStringList NameCompletions::completions(const QString& text) const
{
    QStringList matches;
    if (text.isEmpty())
        return matches;
    const QString pattern = folded(text);
    if (pattern.isEmpty())
        return matches;
    for (std::size_t i = 0; i < foldedNames.size(); ++i)
        if (foldedNames[i].contains(pattern))
            matches.append(sortedNames[i]);
    return matches;
}
