#pragma once

#include "colour/Color.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

class CurrentColors;
class FieldSync;
class PalettesWindow;
class QAction;
class QMimeData;
class SwatchCellView;
class SwatchListModel;
class SwatchTable;
class SwatchWell;
class UserDefaults;

// The column of current swatches beside the notation rows: a view of the
// list CurrentColors keeps, top first. The user adds the current colour
// at the top, removes a swatch with the button shown on hover (or Delete),
// reorders by dragging, drags a swatch out of the window to throw it away,
// drops colours from other programs on it, and picks a swatch to make it the
// current colour. The column never lets its last swatch go.
//
// Every change is recorded in the history with the current colour.
class SwatchColumn : public QWidget
{
    Q_OBJECT

public:
    SwatchColumn(CurrentColors& colors, UserDefaults& defaults, FieldSync& sync, SwatchWell& well,
                 PalettesWindow& palettes, QWidget* parent = nullptr);

    // The footer buttons whose state follows the column.
    // The commands that act on the column: it knows when each makes sense,
    // and their buttons, menu items and shortcuts follow.
    void setCommands(QAction* addSwatch, QAction* savePalette, QAction* keepOnlyTopSwatch);
    // Those of them that belong in the column's own context menu.
    QList<QAction*> contextCommands() const;

    // Start-up: moves the swatches of older versions ("color_1" to
    // "color_8") into "currentColors", once, then shows the column.
    void initializeSwatchView();
    // Rebuilds the list from "currentColors".
    const QList<QByteArray>& swatchesArray();
    // swatchesArray, then the table, scrolled to the top.
    void reloadSwatches();
    void reloadTable();
    int swatchCount() const;
    const QList<QByteArray>& swatchData() const;

    // Adds the current colour at the top.
    void addSwatch();
    // Removes the swatch of `row`, unless it is the last one.
    void removeSwatch(int row);
    // Moves the swatch of `from` into the gap before `gap`.
    void moveSwatch(int from, int gap);
    // Keeps only the top swatch, through the hand-over.
    void clearAllSwatches();
    // After a change of the list: redraws, records history, revalidates the
    // buttons.
    void updateSwatches();
    void validateSwatchButtons();
    // The part of it that follows the current colour: cheap enough for every
    // keystroke, where comparing the column with every palette is not.
    void validateForCurrentColor();
    // The swatches as colours in the window's space, top first.
    QList<Color> currentPalette() const;
    QList<QList<Color>> allPaletteArraysWithCount(int count) const;
    void savePalette();
    // Whether `color` (in the window's space) is one of the swatches.
    bool isSwatch(const Color& color) const;
    bool canAddCurrentColor() const;

    void showRemoveButton(int row);
    void hideRemoveButton(int row);
    void hideAllRemoveButtons();

    // The table's questions and what its events mean.
    int tableViewHeightOfRow(int row) const;
    // The rule: up to eight swatches share the column's height (the last row
    // takes the remainder), from nine on rows are 25 px and the column
    // scrolls; no row is lower than 25 px.
    static int heightOfRow(int row, int count, int columnHeight);
    SwatchCellView* tableViewViewForTableColumn(int row);
    // Makes the swatch of `row` the current colour and records it.
    void tableViewShouldSelectRow(int row);
    // The drag data of `row`; none while only one swatch is left.
    QMimeData* tableViewPasteboardWriterForRow(int row);
    bool tableViewValidateDrop(const QMimeData* data) const;
    // A drop into the gap before `row` (the count for the end): a swatch of
    // this column moves there, a colour from elsewhere goes to the top
    // unless it is already a swatch.
    bool tableViewAcceptDrop(const QMimeData* data, int row);
    // A drag of `row` ended with `operation` at `globalPoint`: dropped
    // nowhere outside the window, the swatch goes, with a poof.
    void tableViewDraggingSessionEndedAtPoint(int row, Qt::DropAction operation, const QPoint& globalPoint);
    bool isOwnDrag(const QMimeData* data) const;

    SwatchTable* swatchTable() const { return table; }
    SwatchCellView* cellAt(int row) const { return row >= 0 && row < cells.size() ? cells[row] : nullptr; }

private:
    void updateMarks();
    bool isAvailablePalette(const QList<Color>& palette) const;

    CurrentColors& colors;
    UserDefaults& defaults;
    FieldSync& sync;
    SwatchWell& well;
    PalettesWindow& palettes;

    SwatchListModel* model = nullptr;
    SwatchTable* table = nullptr;
    QList<SwatchCellView*> cells;
    QPointer<QAction> addCommand, saveCommand, keepTopCommand;
    QByteArray dragSource; // tells this column's drags from all others
};
