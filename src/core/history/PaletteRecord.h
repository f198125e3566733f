#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// A palette of the format older versions kept in the history store: a name
// and nine archived colours (see ColorArchive), any of which may be absent
// (empty). Only read, once, when those palettes move to the colour-list
// files.
struct PaletteRecord
{
    qint64 id = 0; // its row, so that each record can be deleted once its list is safe
    QString name;
    std::array<QByteArray, 8> colors; // color_1 to color_8
    QByteArray color_last;

    bool operator==(const PaletteRecord& other) const = default;
};
