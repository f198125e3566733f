#include "CurrentColors.h"

#include "colour/ColorArchive.h"
#include "colour/ColorSpace.h"
#include "colour/HexCodec.h"
#include "colour/WellColorSpace.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <algorithm>

CurrentColors::CurrentColors(UserDefaults& defaults, const ColorSpaceRegistry& spaces, const WellColorSpace& well,
                             QObject* parent)
    : QObject(parent)
    , defaults(defaults)
    , spaces(spaces)
    , well(well)
{
}

Color CurrentColors::fallbackColor()
{
    return Color::fromIntegers(45, 52, 65);
}

QList<Color> CurrentColors::storedSwatches(const UserDefaults& defaults, const ColorSpaceRegistry& spaces)
{
    QList<Color> colors;
    for (const QVariant& element : defaults.arrayForKey(DefaultsKeys::currentColors))
        colors << ColorArchive::unarchive(element.toByteArray(), spaces).value_or(fallbackColor());
    return colors;
}

const ColorSpacePtr& CurrentColors::wellSpace() const
{
    return well.current();
}

// ---- the current colour

std::optional<Color> CurrentColors::lastColor() const
{
    return ColorArchive::getColorFromData(defaults.dataForKey(DefaultsKeys::color_last), ColorArchive::defaultColor(),
                                          spaces, well.current());
}

void CurrentColors::saveMainColor(const Color& color)
{
    defaults.setData(archiveInWellSpace(color), DefaultsKeys::color_last);
    defaults.synchronize();
}

// ---- the list

void CurrentColors::migrateOlderSwatches()
{
    if (!defaults.hasUserValue(QStringLiteral("color_1")))
        return;
    QVariantList migrated;
    for (int i = 1; i <= 8; ++i) {
        const QString key = QStringLiteral("color_%1").arg(i);
        const QByteArray data = defaults.dataForKey(key);
        if (!data.isEmpty())
            migrated << data;
        defaults.removeObjectForKey(key);
    }
    defaults.setArray(migrated, DefaultsKeys::currentColors);
    defaults.synchronize();
}

const QList<QByteArray>& CurrentColors::swatchesArray()
{
    swatches.clear();
    for (const QVariant& element : defaults.arrayForKey(DefaultsKeys::currentColors))
        swatches << element.toByteArray();
    keysSpace.reset();
    return swatches;
}

Color CurrentColors::colorOf(const QByteArray& data) const
{
    const Color color = ColorArchive::unarchive(data, spaces).value_or(fallbackColor());
    return ColorSpace::convert(color, well.current()).value_or(color);
}

Color CurrentColors::swatchColor(int row) const
{
    return row >= 0 && row < count() ? colorOf(swatches[row]) : fallbackColor();
}

QList<Color> CurrentColors::currentPalette() const
{
    QList<Color> colors;
    for (const QByteArray& data : swatches)
        colors << colorOf(data);
    return colors;
}

QString CurrentColors::hexKey(const Color& color) const
{
    return HexCodec::keyForColor(color, well.current());
}

const QStringList& CurrentColors::hexKeys() const
{
    if (!keysSpace || keysSpace != well.current() || keys.size() != swatches.size()) {
        keys.clear();
        for (const QByteArray& data : swatches)
            keys << hexKey(colorOf(data));
        keysSpace = well.current();
    }
    return keys;
}

bool CurrentColors::isSwatch(const Color& color) const
{
    return hexKeys().contains(hexKey(color));
}

QByteArray CurrentColors::archiveInWellSpace(const Color& color) const
{
    return ColorArchive::archive(ColorSpace::convert(color, well.current()).value_or(color));
}

// ---- changes

bool CurrentColors::addSwatch(const Color& color)
{
    swatches.prepend(archiveInWellSpace(color));
    store();
    return true;
}

bool CurrentColors::removeSwatch(int row)
{
    if (count() < 2 || row < 0 || row >= count())
        return false;
    swatches.removeAt(row);
    store();
    return true;
}

bool CurrentColors::moveSwatch(int from, int gap)
{
    if (from < 0 || from >= count())
        return false;
    const int to = std::clamp(gap > from ? gap - 1 : gap, 0, count() - 1);
    if (to == from)
        return false; // dropped where it was: nothing changed, nothing to record
    swatches.move(from, to);
    store();
    return true;
}

void CurrentColors::store()
{
    keysSpace.reset();
    QVariantList stored;
    for (const QByteArray& data : swatches)
        stored << data;
    defaults.setArray(stored, DefaultsKeys::currentColors);
    defaults.synchronize();
    Q_EMIT swatchesChanged();
}

// ---- the hand-over

void CurrentColors::handOver(const Color& last, const std::optional<QList<Color>>& list)
{
    defaults.setData(archiveInWellSpace(last), DefaultsKeys::color_last);
    if (list) {
        QVariantList stored;
        for (const Color& color : *list)
            stored << archiveInWellSpace(color);
        defaults.setArray(stored, DefaultsKeys::currentColors);
    }
    defaults.synchronize();
    Q_EMIT colorsHandedOver();
}

void CurrentColors::handOverAdding(const Color& last, const QList<Color>& colors)
{
    swatchesArray();
    // A colour is new unless an equal value (space and components) is
    // stored; a stored swatch that cannot be read takes no part, and the
    // list is not updated while adding, so a row's own repeats all go in.
    const ColorSpacePtr& space = well.current();
    QVariantList stored;
    QList<Color> present;
    for (const QByteArray& data : std::as_const(swatches)) {
        stored << data;
        if (const std::optional<Color> color = ColorArchive::unarchive(data, spaces))
            if (const std::optional<Color> inWell = ColorSpace::convert(*color, space))
                present << *inWell;
    }
    for (const Color& color : colors) {
        const std::optional<Color> inWell = ColorSpace::convert(color, space);
        if (!inWell || !present.contains(*inWell))
            stored << archiveInWellSpace(color);
    }
    defaults.setData(archiveInWellSpace(last), DefaultsKeys::color_last);
    defaults.setArray(stored, DefaultsKeys::currentColors);
    defaults.synchronize();
    Q_EMIT colorsHandedOver();
}

void CurrentColors::keepTopSwatch(const Color& current)
{
    QVariantList kept;
    if (!swatches.isEmpty())
        kept << swatches.first();
    // The current colour goes along: the reload reads "color_last", which
    // otherwise holds the colour of the last close.
    defaults.setData(archiveInWellSpace(current), DefaultsKeys::color_last);
    defaults.setArray(kept, DefaultsKeys::currentColors);
    defaults.synchronize();
    Q_EMIT colorsHandedOver();
}
