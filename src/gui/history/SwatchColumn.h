#pragma once

#include "colour/Color.h"

class QAbstractButton;
class QWidget;

// The column of current swatches beside the notation rows, stored under
// "currentColors".
//
// The real column arrives in a later change. Until then the program runs
// with `NoSwatchColumn`: no column is shown, and the add-swatch and
// add-palette buttons stay disabled rather than pretend to work.
class SwatchColumn
{
public:
    virtual ~SwatchColumn() = default;

    // The column's widget, placed at the window's right edge; none when
    // there is nothing to show.
    virtual QWidget* view() = 0;
    // Start-up set-up of the column (and of the older swatch keys).
    virtual void initializeSwatchView() = 0;
    // Rebuilds the column from "currentColors" and scrolls to the top.
    virtual void reloadSwatches() = 0;
    // Redraws the rows, e.g. after the window's rows were rebuilt.
    virtual void reloadTable() = 0;
    virtual int swatchCount() const = 0;
    // Adds the current colour at the top of the column.
    virtual void addSwatch(const Color& current) = 0;
    // Saves the column as a palette.
    virtual void savePalette() = 0;
    // Enables or disables the two buttons that act on the column.
    virtual void validateSwatchButtons(QAbstractButton& addButton, QAbstractButton& addPaletteButton) = 0;
};

class NoSwatchColumn final : public SwatchColumn
{
public:
    QWidget* view() override { return nullptr; }
    void initializeSwatchView() override {}
    void reloadSwatches() override {}
    void reloadTable() override {}
    int swatchCount() const override { return 0; }
    void addSwatch(const Color&) override {}
    void savePalette() override {}
    void validateSwatchButtons(QAbstractButton& addButton, QAbstractButton& addPaletteButton) override;
};
