#include "ColorListNaming.h"

#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"

namespace ColorListNaming {

QString getOriginalName(const QString& wanted, const QSet<QString>& taken)
{
    QString name = wanted;
    for (qsizetype n = 2; taken.contains(name); ++n)
        name = wanted + QStringLiteral(" (%1)").arg(n);
    return name;
}

QString addColor(const Color& color, const QString& name, ColorList& list, const ColorSpacePtr& wellSpace)
{
    if (!list.contains(name)) {
        list.setColor(name, color);
        return name;
    }
    if (list.color(name) == color)
        return name;

    // The fallback key alone would let a second colour of the same name and
    // code silently replace the first (two colours can share a code when they
    // differ by less than one step of 255); a counter keeps both.
    // A colour that cannot be moved into the window's space still needs a
    // key: its own components give one.
    const QString base = name + u'_' + HexCodec::keyForColor(color, wellSpace);
    QString key = base;
    for (qsizetype n = 2; list.contains(key); ++n) {
        if (list.color(key) == color)
            return key;
        key = base + QStringLiteral(" %1").arg(n);
    }
    list.setColor(key, color);
    return key;
}

ColorList listWithUniqueKeys(const QString& name, const QList<ColorList::Entry>& entries,
                             const std::function<QString(const Color&)>& nameForColor,
                             const ColorSpacePtr& wellSpace)
{
    ColorList list(name);
    for (const ColorList::Entry& entry : entries) {
        const Color color = ColorSpace::convert(entry.color, wellSpace).value_or(entry.color);
        addColor(color, entry.key.isEmpty() ? nameForColor(color) : entry.key, list, wellSpace);
    }
    return list;
}

} // namespace ColorListNaming
