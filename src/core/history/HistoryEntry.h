#pragma once

#include "colour/Color.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

// One recorded colour as the History menu shows and restores it: the
// colour's closest name when it was recorded, the moment of recording, the
// colour, and the swatch column of that moment, top first. Colours are in
// the window's colour space at the time of reading.
struct HistoryEntry
{
    QString name;
    QDateTime saved;
    Color last;
    QList<Color> colors;

    bool operator==(const HistoryEntry& other) const = default;

    // An entry from its stored form: `last` an archived hex code, `colors`
    // an archived list of hex codes (see ValueArchive). An unreadable `last`
    // reads as black and an unreadable `colors` as no swatches; list
    // elements that are not text are left out, the rest keep their order.
    // The entry is listed either way.
    static HistoryEntry fromArchives(const QString& name, const QDateTime& saved, QByteArrayView last,
                                     QByteArrayView colors, const ColorSpacePtr& wellSpace);
};
