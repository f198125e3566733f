#include "ColorList.h"

#include <algorithm>

std::optional<Color> ColorList::color(const QString& key) const
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return std::nullopt;
    return list[i].color;
}

void ColorList::setColor(const QString& key, const Color& color)
{
    const qsizetype i = indexOf(key);
    if (i >= 0) {
        list[i].color = color;
        return;
    }
    index.insert(key, list.size());
    list.append({key, color});
}

bool ColorList::removeColor(const QString& key)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return false;
    list.removeAt(i);
    index.remove(key);
    for (qsizetype j = i; j < list.size(); ++j)
        index[list[j].key] = j;
    return true;
}

void ColorList::insertColor(const Color& color, const QString& key, qsizetype at)
{
    removeColor(key);
    at = std::clamp<qsizetype>(at, 0, list.size());
    list.insert(at, {key, color});
    for (qsizetype j = at; j < list.size(); ++j)
        index[list[j].key] = j;
}
