#pragma once

#include "PalettesWindow.h"

#include "palettes/PaletteController.h"
#include "palettes/PaletteImport.h"
#include "palettes/PaletteParts.h"

#include <QObject>
#include <QPointer>

class ColorListStore;
class NameLookup;
class Sandbox;
class UserDefaults;
class WellColorSpace;

// The palettes part of the program: the colour lists of the store, and the
// palettes window over them, made when it is first opened and dropped when
// it closes.
class StoredPalettes final : public QObject, public PalettesWindow
{
    Q_OBJECT

public:
    StoredPalettes(ColorListStore& store, const WellColorSpace& wellColorSpace, NameLookup& names,
                   UserDefaults& defaults, const Sandbox* sandbox = nullptr, QObject* parent = nullptr);
    ~StoredPalettes() override;

    bool available() const override { return true; }
    void openPalettesWindow() override;
    void releasePalettesWindow() override;
    // Opens the window with the new palette selected in it.
    void saveCurrentPalette(const QList<Color>& palette) override;
    QList<QList<Color>> allPaletteArraysWithCount(int count) const override;
    void setSwatches(CurrentColors& colors, std::function<Color()> mainColor) override;

    // The window while it is open.
    PaletteController* paletteController() const { return controller; }
    // What the window asks the user; tests answer instead.
    void setDialogs(PaletteDialogs dialogs) { parts.dialogs = std::move(dialogs); }

    // Closest names that do not depend on the name cache being loaded (it
    // may be freed, or still loading at start).
    static PaletteImport::NameForColor closestNames(NameLookup& names);

private:
    PaletteParts parts;
    QPointer<PaletteController> controller;
};
