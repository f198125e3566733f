#pragma once

#include "ColorList.h"

#include <QList>
#include <QString>

// What a palette reader found in a file. Files come from anywhere: a reader
// keeps every colour it could read completely and says, in `error`, what was
// wrong with the rest. So there are three outcomes: all read (no error),
// damaged (colours and an error) and refused (an error and no colours).
struct PaletteReadResult
{
    // Larger than any palette a person makes by three orders of magnitude;
    // every reader refuses a larger file before looking at it.
    static constexpr qsizetype maximumFileSize = 16 * 1024 * 1024;
    static PaletteReadResult tooLarge();
    static PaletteReadResult refused(const QString& error);

    // The palette's name as the file gives it; empty when it gives none, and
    // then the caller names the palette after the file.
    QString name;
    // In file order. Keys are the names the file gives its colours, empty
    // where the format has none; only formats whose key rule is part of the
    // format (Adobe Swatch Exchange) make them unique.
    QList<ColorList::Entry> colors;
    QString error;

    bool complete() const { return error.isEmpty(); }
    // Keeps the first problem: later ones are often its consequences.
    void noteDamage(const QString& message)
    {
        if (error.isEmpty())
            error = message;
    }
};
