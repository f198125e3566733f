#include "StoredPalettes.h"

#include "names/NameLookup.h"
#include "palettes/ColorListStore.h"

StoredPalettes::StoredPalettes(ColorListStore& colorLists, const WellColorSpace& wellColorSpace, NameLookup& lookup,
                               UserDefaults& settings, const Sandbox* sandbox, QObject* parent)
    : QObject(parent)
    , store(colorLists)
    , well(wellColorSpace)
    , names(lookup)
    , defaults(settings)
    , mirror(sandbox)
{
}

StoredPalettes::~StoredPalettes()
{
    delete controller.data();
}

void StoredPalettes::setSwatches(CurrentColors& colors, std::function<Color()> mainColor)
{
    swatches = {&colors, std::move(mainColor)};
}

void StoredPalettes::openPalettesWindow()
{
    if (!controller) {
        controller = new PaletteController(store, well, names, defaults, swatches, asks, mirror);
        // Rebuilt at the next opening, so a closed window costs nothing.
        connect(controller, &PaletteController::windowWillClose, this, [this] {
            if (controller)
                controller->deleteLater();
        });
    }
    controller->windowWillLoad();
}

void StoredPalettes::releasePalettesWindow()
{
    if (!controller)
        return;
    // Closing saves what the window keeps (its frame, the selected row).
    controller->close();
    delete controller.data();
}

void StoredPalettes::saveCurrentPalette(const QList<Color>& palette)
{
    openPalettesWindow();
    controller->saveCurrentPalette(palette);
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
