#include "StoredPalettes.h"

#include "names/NameLookup.h"
#include "palettes/ColorListStore.h"

StoredPalettes::StoredPalettes(ColorListStore& colorLists, const WellColorSpace& wellColorSpace, NameLookup& lookup,
                               UserDefaults& settings, const Sandbox* sandbox, QObject* parent)
    : QObject(parent)
    , parts(colorLists, wellColorSpace, lookup, settings, sandbox)
{
}

StoredPalettes::~StoredPalettes()
{
    delete controller.data();
}

void StoredPalettes::setSwatches(CurrentColors& colors, std::function<Color()> mainColor)
{
    parts.swatches = &colors;
    parts.mainColor = std::move(mainColor);
}

void StoredPalettes::openPalettesWindow()
{
    if (controller) {
        controller->showAndRaise();
        return;
    }
    controller = new PaletteController(parts);
    // Rebuilt at the next opening, so a closed window costs nothing. It is
    // forgotten at once: opened again before it is gone, a new one comes.
    connect(controller, &PaletteController::windowWillClose, this, [this] {
        if (PaletteController* closing = controller.data()) {
            controller = nullptr;
            closing->deleteLater();
        }
    });
    controller->windowWillLoad();
}

void StoredPalettes::releasePalettesWindow()
{
    const QPointer<PaletteController> closing = controller;
    if (!closing)
        return;
    // Closing saves what the window keeps (its frame, the selected row).
    closing->close();
    delete closing.data();
}

void StoredPalettes::saveCurrentPalette(const QList<Color>& palette)
{
    openPalettesWindow();
    controller->saveCurrentPalette(palette);
}

QList<QList<Color>> StoredPalettes::allPaletteArraysWithCount(int count) const
{
    QList<QList<Color>> lists;
    for (const ColorListStore::Available& available : parts.store.availableColorLists()) {
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
