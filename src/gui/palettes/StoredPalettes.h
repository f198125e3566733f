#pragma once

#include "PalettesWindow.h"

#include "palettes/PaletteImport.h"

#include <QObject>

class ColorListStore;
class NameLookup;
class Sandbox;
class WellColorSpace;

// The palettes part backed by the colour-list store, until the palettes
// window itself arrives: the swatch column can save itself as a palette and
// knows which palettes exist. Opening the window only mirrors the lists
// that have no mirror yet, as the window will do when it loads.
class StoredPalettes final : public QObject, public PalettesWindow
{
    Q_OBJECT

public:
    StoredPalettes(ColorListStore& store, const WellColorSpace& wellColorSpace, NameLookup& names,
                   const Sandbox* sandbox = nullptr, QObject* parent = nullptr);

    bool available() const override { return true; }
    bool canOpenWindow() const override { return false; } // the window comes later
    void openPalettesWindow() override;
    void releasePalettesWindow() override {}
    // A new list "palette" (or "palette (2)"...), each colour under its
    // closest name, keys made unique; written and mirrored.
    void saveCurrentPalette(const QList<Color>& palette) override;
    QList<QList<Color>> allPaletteArraysWithCount(int count) const override;

    // Closest names that do not depend on the name cache being loaded (it
    // may be freed, or still loading at start).
    static PaletteImport::NameForColor closestNames(NameLookup& names);

Q_SIGNALS:
    // For the tray: "Saved as palette <name>", or why it could not be saved.
    void userNotification(const QString& text);

private:
    ColorListStore& store;
    const WellColorSpace& well;
    NameLookup& names;
    const Sandbox* mirror;
};
