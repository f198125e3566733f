#include "SwatchColumn.h"

#include "app/SwatchWell.h"
#include "colour/ColorSpace.h"
#include "colour/FieldSync.h"
#include "colour/HexCodec.h"
#include "controls/AppearanceColors.h"
#include "palettes/PalettesWindow.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"
#include "swatches/PoofEffect.h"
#include "swatches/SwatchCellView.h"
#include "swatches/SwatchDragData.h"
#include "swatches/SwatchListModel.h"
#include "swatches/SwatchTable.h"

#include <QAction>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

#include <unistd.h>

namespace {

constexpr int columnWidth = 40;
constexpr int rowsSharingHeight = 8;
constexpr int lowestRow = 25;


} // namespace

SwatchColumn::SwatchColumn(CurrentColors& colors, UserDefaults& defaults, FieldSync& sync, SwatchWell& well,
                           PalettesWindow& palettes, QWidget* parent)
    : QWidget(parent)
    , colors(colors)
    , defaults(defaults)
    , sync(sync)
    , well(well)
    , palettes(palettes)
    , dragSource(QByteArray::number(::getpid()) + '/' + QByteArray::number(quintptr(this), 16))
{
    setObjectName(QStringLiteral("swatchColumn"));
    setFixedWidth(columnWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    model = new SwatchListModel(this);
    table = new SwatchTable(*this, this);
    table->setModel(model);
    // Where there are no swatches the window's colour shows through.
    table->viewport()->setAutoFillBackground(false);
    table->setStyleSheet(QStringLiteral("QTableView { background: transparent; }"));
    layout->addWidget(table);

    connect(table, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { tableViewShouldSelectRow(index.row()); });
    connect(table, &SwatchTable::rowChosen, this, &SwatchColumn::tableViewShouldSelectRow);
    connect(table, &SwatchTable::removeRequested, this, &SwatchColumn::removeSwatch);
    connect(table, &SwatchTable::moveRequested, this, &SwatchColumn::moveSwatch);
    connect(table, &SwatchTable::keyboardRowChanged, this, &SwatchColumn::updateMarks);
    connect(&colors, &CurrentColors::swatchesChanged, this, &SwatchColumn::updateSwatches);
    // The buttons and the mark follow the current colour, however it changed
    // (at start-up the colour arrives after the list).
    connect(&well, &SwatchWell::colorChanged, this, &SwatchColumn::validateForCurrentColor);
}

void SwatchColumn::setCommands(QAction* addSwatch, QAction* savePalette, QAction* keepOnlyTopSwatch)
{
    addCommand = addSwatch;
    saveCommand = savePalette;
    keepTopCommand = keepOnlyTopSwatch;
    validateSwatchButtons();
}

// ---- the list

void SwatchColumn::initializeSwatchView()
{
    colors.migrateOlderSwatches();
    reloadTable();
}

const QList<QByteArray>& SwatchColumn::swatchesArray()
{
    return colors.swatchesArray();
}

void SwatchColumn::reloadSwatches()
{
    swatchesArray();
    reloadTable();
    table->scrollToTop();
    validateSwatchButtons();
}

void SwatchColumn::reloadTable()
{
    QList<SwatchListModel::Row> rows;
    const bool hexUnit = defaults.boolForKey(DefaultsKeys::showHexUnit);
    const bool lowerCase = defaults.boolForKey(DefaultsKeys::lowerCaseHEX);
    const QStringList& keys = colors.hexKeys();
    for (int row = 0; row < colors.count(); ++row) {
        rows.append({ colors.swatchData()[row], AppearanceColors::onScreen(colors.swatchColor(row)),
                      HexCodec::displayedForm(keys[row], hexUnit, lowerCase) });
    }
    // Start-up and every settings change ask for a reload; rebuilding cells
    // that would look the same costs more than the rest of the start.
    if (rows == model->rows() && cells.size() == rows.size()) {
        table->updateRowHeights();
        updateMarks();
        return;
    }
    model->setRows(std::move(rows));
    cells.clear();
    for (int row = 0; row < swatchCount(); ++row) {
        SwatchCellView* cell = tableViewViewForTableColumn(row);
        cells << cell;
        table->setIndexWidget(model->index(row, 0), cell);
    }
    table->updateRowHeights();
    updateMarks();
}

SwatchCellView* SwatchColumn::tableViewViewForTableColumn(int row)
{
    const SwatchListModel::Row& shown = model->rows().at(row);
    auto* cell = new SwatchCellView(row, shown.shown, shown.hexCode);
    cell->setAccessibleName(model->index(row, 0).data(Qt::AccessibleTextRole).toString());
    connect(cell, &SwatchCellView::entered, this, [this](int r) {
        if (swatchCount() != 1)
            showRemoveButton(r);
    });
    connect(cell, &SwatchCellView::exited, this, [this](int r) {
        if (swatchCount() != 1)
            hideRemoveButton(r);
    });
    connect(cell, &SwatchCellView::removeClicked, this, &SwatchColumn::removeSwatch);
    return cell;
}

int SwatchColumn::swatchCount() const
{
    return colors.count();
}

const QList<QByteArray>& SwatchColumn::swatchData() const
{
    return colors.swatchData();
}

// ---- changes

void SwatchColumn::addSwatch()
{
    colors.addSwatch(*well.color());
}

void SwatchColumn::removeSwatch(int row)
{
    colors.removeSwatch(row);
}

void SwatchColumn::moveSwatch(int from, int gap)
{
    colors.moveSwatch(from, gap);
}

void SwatchColumn::clearAllSwatches()
{
    colors.keepTopSwatch(*well.color());
}

void SwatchColumn::updateSwatches()
{
    reloadTable();
    sync.updateHistoryAndSetColor();
    validateSwatchButtons();
}

bool SwatchColumn::isSwatch(const Color& color) const
{
    return colors.isSwatch(color);
}

bool SwatchColumn::canAddCurrentColor() const
{
    return !isSwatch(*well.color());
}

QList<Color> SwatchColumn::currentPalette() const
{
    return colors.currentPalette();
}

QList<QList<Color>> SwatchColumn::allPaletteArraysWithCount(int count) const
{
    return palettes.allPaletteArraysWithCount(count);
}

void SwatchColumn::savePalette()
{
    palettes.saveCurrentPalette(currentPalette());
}

bool SwatchColumn::isAvailablePalette(const QList<Color>& palette) const
{
    // The same colours in any order, duplicates counted once.
    const auto codes = [this](const QList<Color>& list) {
        QSet<QString> set;
        for (const Color& c : list)
            set.insert(colors.hexKey(c));
        return set;
    };
    const QSet<QString> mine = codes(palette);
    const QList<QList<Color>> lists = allPaletteArraysWithCount(int(palette.size()));
    return std::any_of(lists.begin(), lists.end(), [&](const QList<Color>& list) { return codes(list) == mine; });
}

QList<QAction*> SwatchColumn::contextCommands() const
{
    QList<QAction*> commands;
    for (QAction* command : { addCommand.data(), keepTopCommand.data() }) {
        if (command)
            commands << command;
    }
    return commands;
}

void SwatchColumn::validateForCurrentColor()
{
    if (addCommand)
        addCommand->setEnabled(canAddCurrentColor());
    updateMarks();
}

void SwatchColumn::validateSwatchButtons()
{
    validateForCurrentColor();
    // Pointless with one swatch left.
    if (keepTopCommand)
        keepTopCommand->setEnabled(swatchCount() != 1);
    // Saving needs the palettes, something to save and no list of these
    // very colours yet.
    if (saveCommand)
        saveCommand->setEnabled(palettes.available() && colors.count() > 0
                                     && !isAvailablePalette(currentPalette()));
}

void SwatchColumn::updateMarks()
{
    const QString current = colors.hexKey(*well.color());
    const QStringList& keys = colors.hexKeys();
    const int focused = table->hasFocus() ? table->currentIndex().row() : -1;
    // Chips are edged dark on a light window colour, light on a dark one.
    const QColor behind = AppearanceColors::onScreen(*well.color());
    const bool lightBehind = 0.2126 * behind.redF() + 0.7152 * behind.greenF() + 0.0722 * behind.blueF() > 0.45;
    const QColor edge = lightBehind ? QColor(0, 0, 0, 38) : QColor(255, 255, 255, 46);
    for (SwatchCellView* cell : std::as_const(cells)) {
        cell->setCurrent(cell->row() < keys.size() && keys[cell->row()] == current);
        cell->setKeyboardFocus(cell->row() == focused);
        cell->setEdgeColor(edge);
    }
}

// ---- hover

void SwatchColumn::showRemoveButton(int row)
{
    for (SwatchCellView* cell : std::as_const(cells))
        cell->removeButton->setVisible(cell->row() == row);
}

void SwatchColumn::hideRemoveButton(int row)
{
    if (SwatchCellView* cell = cellAt(row))
        cell->removeButton->hide();
}

void SwatchColumn::hideAllRemoveButtons()
{
    for (SwatchCellView* cell : std::as_const(cells))
        cell->removeButton->hide();
}

// ---- the table

int SwatchColumn::heightOfRow(int row, int count, int columnHeight)
{
    if (count > rowsSharingHeight || count <= 0 || columnHeight <= 0)
        return lowestRow;
    const int share = columnHeight / count;
    const int height = row == count - 1 ? share + (columnHeight - share * count) : share;
    return std::max(height, lowestRow);
}

int SwatchColumn::tableViewHeightOfRow(int row) const
{
    return heightOfRow(row, swatchCount(), table->height());
}

void SwatchColumn::tableViewShouldSelectRow(int row)
{
    if (row >= 0 && row < swatchCount())
        sync.updateHistoryAndSetColor(colors.swatchColor(row));
}

QMimeData* SwatchColumn::tableViewPasteboardWriterForRow(int row)
{
    hideAllRemoveButtons();
    if (swatchCount() == 1 || row < 0 || row >= swatchCount())
        return nullptr;
    const SwatchListModel::Row& shown = model->rows().at(row);
    return SwatchDragData::forRow(row, dragSource, shown.shown, shown.hexCode);
}

bool SwatchColumn::isOwnDrag(const QMimeData* data) const
{
    return SwatchDragData::sourceRow(data, dragSource).has_value();
}

bool SwatchColumn::tableViewValidateDrop(const QMimeData* data) const
{
    return isOwnDrag(data) || SwatchDragData::droppedColor(data).has_value();
}

bool SwatchColumn::tableViewAcceptDrop(const QMimeData* data, int row)
{
    if (const std::optional<int> source = SwatchDragData::sourceRow(data, dragSource)) {
        moveSwatch(*source, row);
        return true;
    }
    const std::optional<QColor> dropped = SwatchDragData::droppedColor(data);
    if (!dropped)
        return true;
    // Read as the hex field reads a code, so a dropped colour and the same
    // colour typed are one and the same swatch.
    const std::optional<Color> color = HexCodec::colorWithHexColorString(
        HexCodec::storedForm(dropped->red(), dropped->green(), dropped->blue()), colors.wellSpace());
    if (!color || isSwatch(*color))
        return false;
    colors.addSwatch(*color);
    return true;
}

void SwatchColumn::tableViewDraggingSessionEndedAtPoint(int row, Qt::DropAction operation, const QPoint& globalPoint)
{
    // Taken by another program (or moved within the column): kept. Let go
    // over the window itself: kept too, nothing is thrown away by a slip.
    if (operation != Qt::IgnoreAction || window()->frameGeometry().contains(globalPoint))
        return;
    if (swatchCount() < 2 || row < 0 || row >= swatchCount())
        return;
    PoofEffect::showAt(globalPoint);
    colors.removeSwatch(row);
}
