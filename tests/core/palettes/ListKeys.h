#pragma once

#include "palettes/ColorList.h"

#include <QStringList>

#include <optional>

// A list's keys in order, none for no list: what most palette tests compare.
inline QStringList keys(const std::optional<ColorList>& list)
{
    QStringList all;
    if (list)
        for (const ColorList::Entry& entry : list->entries())
            all << entry.key;
    return all;
}
