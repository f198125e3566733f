#include "StoredPalettes.h"

#include "colour/WellColorSpace.h"
#include "names/NameLookup.h"
#include "palettes/ColorListStore.h"
#include "palettes/PaletteImport.h"
#include "palettes/Sandbox.h"

#include "Log.h"

StoredPalettes::StoredPalettes(ColorListStore& colorLists, const WellColorSpace& wellColorSpace, NameLookup& lookup,
                               const Sandbox* sandbox, QObject* parent)
    : QObject(parent)
    , store(colorLists)
    , well(wellColorSpace)
    , names(lookup)
    , mirror(sandbox)
{
}

void StoredPalettes::openPalettesWindow()
{
    if (mirror)
        mirror->syncColorLists();
}

void StoredPalettes::saveCurrentPalette(const QList<Color>& palette)
{
    const PaletteImport::Result result =
        PaletteImport::saveColors(store, QStringLiteral("palette"), palette, closestNames(names), well.current());
    if (result.listName.isEmpty()) {
        // The user pressed a button: a full disk must not look like success.
        qCWarning(lcPalettes) << "cannot save the swatches as a palette:" << result.error;
        Q_EMIT userNotification(tr("The swatches could not be saved as a palette: %1").arg(result.error));
        return;
    }
    Q_EMIT userNotification(tr("Saved as palette %1").arg(result.listName));
}

QList<QList<Color>> StoredPalettes::allPaletteArraysWithCount(int count) const
{
    QList<QList<Color>> lists;
    for (const ColorListStore::Available& available : store.availableColorLists()) {
        if (available.list.size() != count)
            continue;
        QList<Color> colors;
        for (const ColorList::Entry& entry : available.list.entries())
            colors << entry.color;
        lists << colors;
    }
    return lists;
}

PaletteImport::NameForColor StoredPalettes::closestNames(NameLookup& lookup)
{
    if (NameLookup::ClosestName anyThread = lookup.closestColorNameOnAnyThread())
        return anyThread;
    return [&lookup](const Color& color) { return lookup.closestColorNameToColor(color); };
}
