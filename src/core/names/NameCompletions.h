#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The names that complete a typed text: every name containing the text in
// any letter case and with or without accents ("blu" finds "Bluebell",
// "BLUE" and "Blü"), in the locale's case-insensitive order.
//
// Sorting tens of thousands of names with the locale's collation takes far
// longer than one keystroke may, so the names are sorted once here and every
// completion keeps that order.
class NameCompletions
{
public:
    explicit NameCompletions(const QStringList& names);

    // Empty for an empty text.
    QStringList completions(const QString& text) const;

    // The form compared: decomposed, accents dropped, case folded.
    static QString folded(const QString& text);

private:
    std::vector<QString> sortedNames;
    std::vector<QString> foldedNames; // same order
};
