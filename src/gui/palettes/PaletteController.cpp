#include "PaletteController.h"

#include "palettes/PaletteCellView.h"
#include "palettes/PaletteExchange.h"
#include "palettes/PaletteTableView.h"
#include "palettes/StoredPalettes.h"

#include "app/WindowFrameAutosave.h"
#include "colour/ColorSpace.h"
#include "colour/WellColorSpace.h"
#include "palettes/ColorListNaming.h"
#include "palettes/PaletteImport.h"
#include "palettes/Sandbox.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"
#include "swatches/CurrentColors.h"

#include "Log.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString frameName = QStringLiteral("PaletteView");

} // namespace

PaletteController::PaletteController(PaletteParts& windowParts, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , parts(windowParts)
    , store(windowParts.store)
    , well(windowParts.well)
{
    setWindowTitle(tr("Palettes"));
    buildWindow();
    buildActions();
    colorListTimer.setSingleShot(true);
    colorListTimer.setInterval(0);
    connect(&colorListTimer, &QTimer::timeout, this, &PaletteController::reloadPalettes);
    connect(&store, &ColorListStore::colorListsChanged, this, &PaletteController::colorListChanged);
    connect(&well, &WellColorSpace::changed, palettesTable->viewport(), qOverload<>(&QWidget::update));
    entries->setPalettes(palettes());
    frame = std::make_unique<WindowFrameAutosave>(parts.defaults, frameName, *this);
    if (!frame->restore())
        resize(380, 520);
}

PaletteController::~PaletteController() = default;

void PaletteController::buildWindow()
{
    entries = new PaletteListModel(this);
    entries->setRenamer([this](int row, const QString& text) { return textFieldDidEndEditing(row, text); });
    arrayController = new QSortFilterProxyModel(this);
    arrayController->setSourceModel(entries);
    arrayController->setFilterCaseSensitivity(Qt::CaseInsensitive);

    searchField = new QLineEdit(this);
    searchField->setPlaceholderText(tr("Search palettes"));
    searchField->setClearButtonEnabled(true);
    // From the search straight to the rows it left.
    connect(searchField, &QLineEdit::returnPressed, this, [this] {
        palettesTable->setFocus(Qt::TabFocusReason);
        if (!palettesTable->selectionModel()->hasSelection())
            selectRow(0);
    });
    connect(searchField, &QLineEdit::textChanged, this, [this](const QString& text) {
        arrayController->setFilterFixedString(text);
        hintAtEmptyList();
        fixButtonState();
    });

    palettesTable = new PaletteTableView(this);
    palettesTable->setModel(arrayController);
    // The rows sit on the window's own background, so each name's tab and
    // strip stand out from it in light and dark themes alike.
    palettesTable->setFrameShape(QFrame::NoFrame);
    palettesTable->viewport()->setBackgroundRole(QPalette::Window);
    const auto colorsOf = [this](const QModelIndex& index) -> const QList<Color>* {
        const QModelIndex source = arrayController->mapToSource(index);
        return source.isValid() ? &entries->entry(source.row()).colors : nullptr;
    };
    palettesTable->setItemDelegate(new PaletteCellView(colorsOf, [this] { return well.current(); }, palettesTable));
    palettesTable->setDragData([this](const QModelIndexList&, bool gimp) {
        return parts.exchange.dragData(selectedPalettes(), gimp);
    });
    connect(palettesTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PaletteController::tableViewSelectionDidChange);
    connect(palettesTable, &QAbstractItemView::doubleClicked, this, &PaletteController::restorePalette);
    connect(palettesTable, &PaletteTableView::returnPressed, this, &PaletteController::restorePalette);
    connect(palettesTable, &PaletteTableView::filesDropped, this, &PaletteController::importPaths);
    connect(palettesTable, &QWidget::customContextMenuRequested, this, &PaletteController::contextMenu);
    connect(palettesTable, &PaletteTableView::editingEnded, this, [this] {
        if (std::exchange(reloadAfterEdit, false))
            colorListChanged();
    });
    // Rows come and go with the search and every change of the list.
    connect(arrayController, &QAbstractItemModel::modelReset, this, &PaletteController::fixButtonState);
    connect(arrayController, &QAbstractItemModel::rowsRemoved, this, &PaletteController::fixButtonState);
    connect(arrayController, &QAbstractItemModel::rowsInserted, this, &PaletteController::fixButtonState);

    hintLabel = new QLabel(this);
    hintLabel->setWordWrap(true);
    hintLabel->setForegroundRole(QPalette::PlaceholderText);

    saveButton = new QPushButton(tr("Save"), this);
    saveButton->setToolTip(tr("Save current Swatches as a Palette"));
    deleteButton = new QPushButton(tr("Delete"), this);
    restoreButton = new QPushButton(tr("Restore"), this);
    exportButton = new QPushButton(tr("Export"), this);
    importButton = new QToolButton(this);
    importButton->setText(tr("Import"));
    importButton->setPopupMode(QToolButton::MenuButtonPopup);
    importButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* importMenu = new QMenu(importButton);
    importMenu->addAction(tr("Import Files…"), this, &PaletteController::importPalette);
    importMenu->addAction(tr("Import a Folder…"), this, &PaletteController::importFolder);
    importButton->setMenu(importMenu);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        saveCurrentPalette(parts.swatches ? parts.swatches->currentPalette() : QList<Color>());
    });
    connect(deleteButton, &QPushButton::clicked, this, &PaletteController::deletePalettes);
    connect(restoreButton, &QPushButton::clicked, this, &PaletteController::restorePalette);
    connect(exportButton, &QPushButton::clicked, this, [this] { exportPalette(); });
    connect(importButton, &QToolButton::clicked, this, &PaletteController::importPalette);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    buttons->addWidget(restoreButton);
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(searchField);
    layout->addWidget(palettesTable, 1);
    layout->addWidget(hintLabel);
    layout->addLayout(buttons);
}

void PaletteController::buildActions()
{
    const auto add = [this](const QString& text, const QKeySequence& keys, QWidget* on, auto slot) {
        auto* action = new QAction(text, on);
        action->setShortcut(keys);
        action->setShortcutContext(on == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
        on->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // The row's own commands; the same actions make its context menu.
    rowActions = {
        add(tr("Restore"), {}, palettesTable, &PaletteController::restorePalette),
        add(tr("Add to Swatches"), QKeySequence(Qt::SHIFT | Qt::Key_Return), palettesTable,
            &PaletteController::addToPalette),
        add(tr("Rename"), QKeySequence(Qt::Key_F2), palettesTable, &PaletteController::renamePalette),
        add(tr("Export…"), QKeySequence(Qt::CTRL | Qt::Key_E), this, [this] { exportPalette(); }),
        add(tr("Delete"), QKeySequence::Delete, palettesTable, &PaletteController::deletePalettes),
    };
    undo = add(tr("Undo Delete"), QKeySequence::Undo, this, &PaletteController::undoDelete);
    undo->setEnabled(!parts.deletions.isEmpty());
    add(tr("Save"), QKeySequence::Save, this, [this] {
        saveCurrentPalette(parts.swatches ? parts.swatches->currentPalette() : QList<Color>());
    });
    add(tr("Import"), QKeySequence::Open, this, &PaletteController::importPalette);
    add(tr("Import a Folder"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), this, &PaletteController::importFolder);
    add(tr("Search"), QKeySequence::Find, this, [this] {
        searchField->setFocus(Qt::ShortcutFocusReason);
        searchField->selectAll();
    });
    add(tr("Close"), QKeySequence::Close, this, &QWidget::close);
}

void PaletteController::keyPressEvent(QKeyEvent* event)
{
    // Escape reaches the window only when no name is being edited: it first
    // leaves the search, then closes the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!searchField->text().isEmpty())
            searchField->clear();
        else
            close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- life cycle

void PaletteController::windowWillLoad()
{
    if (parts.sandbox)
        parts.sandbox->syncColorLists();
    selectRow(int(parts.defaults.integerForKey(DefaultsKeys::palettesTableSelectedRow)));
    showAndRaise();
    palettesTable->setFocus();
}

void PaletteController::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void PaletteController::closeEvent(QCloseEvent* event)
{
    frame->save();
    const QModelIndexList selected = palettesTable->selectionModel()->selectedRows();
    const QModelIndex first = selected.isEmpty() ? QModelIndex() : arrayController->mapToSource(selected.first());
    parts.defaults.setInteger(first.isValid() ? first.row() : 0, DefaultsKeys::palettesTableSelectedRow);
    parts.defaults.synchronize();
    event->accept();
    Q_EMIT windowWillClose();
}

void PaletteController::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The name being edited redraws its selection for a window that is not
    // the active one.
    if (event->type() == QEvent::ActivationChange)
        palettesTable->viewport()->update();
}

// ---- the list

QList<PaletteEntry> PaletteController::palettes() const
{
    QList<PaletteEntry> all;
    for (const ColorListStore::Available& available : store.availableColorLists()) {
        PaletteEntry entry {available.list.name(), available.editable, {}};
        for (const ColorList::Entry& color : available.list.entries())
            entry.colors << color.color;
        all << entry;
    }
    return all;
}

void PaletteController::showPalettes(const QString& selectName)
{
    searchField->clear();
    entries->setPalettes(palettes());
    const int row = entries->rowOfName(selectName);
    selectRow(row < 0 ? 0 : row);
}

void PaletteController::selectRow(int row)
{
    const int count = arrayController->rowCount();
    if (count == 0 || row < 0) {
        palettesTable->selectionModel()->clear();
        fixButtonState();
        return;
    }
    const QModelIndex index = arrayController->index(std::min(row, count - 1), 0);
    palettesTable->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    palettesTable->scrollTo(index);
}

void PaletteController::selectNames(const QStringList& wanted)
{
    QItemSelection selection;
    QModelIndex first;
    for (const QString& name : wanted) {
        const int row = entries->rowOfName(name);
        if (row < 0)
            continue;
        const QModelIndex index = arrayController->mapFromSource(entries->index(row));
        selection.select(index, index);
        if (!first.isValid())
            first = index;
    }
    if (!first.isValid())
        return;
    palettesTable->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    palettesTable->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    palettesTable->scrollTo(first);
}

QList<PaletteEntry> PaletteController::selectedPalettes() const
{
    QList<int> rows;
    for (const QModelIndex& index : palettesTable->selectionModel()->selectedRows())
        rows << arrayController->mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    QList<PaletteEntry> selected;
    for (int row : rows)
        selected << entries->entry(row);
    return selected;
}

std::optional<PaletteEntry> PaletteController::singleSelected() const
{
    const QList<PaletteEntry> selected = selectedPalettes();
    if (selected.size() != 1)
        return std::nullopt;
    return selected.first();
}

void PaletteController::tableViewSelectionDidChange()
{
    const QList<PaletteEntry> selected = selectedPalettes();
    updateRemoveButtonForObject(selected.isEmpty() ? nullptr : &selected.first());
}

void PaletteController::updateRemoveButtonForObject(const PaletteEntry* entry)
{
    bool editable = entry && entry->editable;
    for (const PaletteEntry& selected : selectedPalettes())
        editable = editable && selected.editable;
    deleteButton->setEnabled(editable);
    // Nothing selected is not a system palette.
    deleteButton->setToolTip(editable || !entry ? QString() : tr("System Palettes can't be deleted!"));
    fixButtonState();
}

void PaletteController::fixButtonState()
{
    importButton->setEnabled(true);
    importButton->setToolTip(tr("Import Palette"));
    const bool rows = arrayController->rowCount() > 0;
    restoreButton->setToolTip(rows ? tr("Restore Palette to Swatches in main window") : QString());
    exportButton->setToolTip(rows ? tr("Export Palette") : QString());
    if (!rows) {
        deleteButton->setToolTip(QString());
        deleteButton->setEnabled(false);
    }
    restoreButton->setEnabled(rows);
    exportButton->setEnabled(rows);
    const QList<PaletteEntry> selected = selectedPalettes();
    if (selected.size() >= 2) {
        restoreButton->setToolTip(QString());
        restoreButton->setEnabled(false);
    }
    saveButton->setEnabled(true);
    // The row's commands work on exactly one palette; deleting on every
    // selected one the button would delete.
    const bool one = selected.size() == 1;
    rowActions[0]->setEnabled(one);
    rowActions[1]->setEnabled(one);
    rowActions[2]->setEnabled(one && selected.first().editable);
    rowActions[3]->setEnabled(!selected.isEmpty());
    rowActions[4]->setEnabled(deleteButton->isEnabled() && !selected.isEmpty());
    hintAtEmptyList();
}

void PaletteController::hintAtEmptyList()
{
    QString hint;
    if (arrayController->rowCount() == 0 && !searchField->text().isEmpty())
        hint = tr("No palette's name contains \u201c%1\u201d.").arg(searchField->text());
    else if (std::none_of(entries->palettes().cbegin(), entries->palettes().cend(),
                          [](const PaletteEntry& entry) { return entry.editable; }))
        hint = tr("You have no palettes of your own yet. Save keeps the swatches of the main window as a "
                  "palette; Import reads .clr, .ase, .json and .gpl files, and so does dropping them here.");
    hintLabel->setText(hint);
    hintLabel->setVisible(!hint.isEmpty());
}

void PaletteController::contextMenu(const QPoint& at)
{
    QModelIndex index = palettesTable->indexAt(at);
    if (!index.isValid())
        index = palettesTable->currentIndex();
    if (!index.isValid())
        return;
    // The menu is the clicked row's, whatever else was selected.
    endEditing();
    palettesTable->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    QMenu menu(this);
    menu.addActions({rowActions[0], rowActions[1]});
    menu.addSeparator();
    menu.addActions({rowActions[2], rowActions[3]});
    menu.addSeparator();
    menu.addAction(rowActions[4]);
    menu.addAction(undo);
    const QRect row = palettesTable->visualRect(index);
    const QPoint where = row.contains(at) ? at : row.bottomLeft();
    exportAt = where;
    menu.exec(palettesTable->viewport()->mapToGlobal(where));
    exportAt.reset();
}

// ---- following changes made elsewhere

void PaletteController::colorListChanged()
{
    // One reload for a burst of changes.
    if (!colorListTimer.isActive())
        colorListTimer.start();
}

void PaletteController::reloadPalettes()
{
    colorListTimer.stop();
    if (palettesTable->isEditing()) {
        // The name being typed would be lost with its row.
        reloadAfterEdit = true;
        return;
    }
    // The window's own changes are shown already; only others' reload it.
    // Compared by name alone, so that names the user's language sorts as
    // equal cannot tell the two lists apart.
    const auto byName = [](QList<PaletteEntry> list) {
        std::sort(list.begin(), list.end(), [](const PaletteEntry& a, const PaletteEntry& b) { return a.name < b.name; });
        return list;
    };
    if (byName(palettes()) == byName(entries->palettes()))
        return;
    const QList<PaletteEntry> selected = selectedPalettes();
    showPalettes(selected.isEmpty() ? QString() : selected.first().name);
}

// ---- saving, deleting, renaming

void PaletteController::endEditing()
{
    palettesTable->commitEditing();
}

void PaletteController::saveCurrentPalette(const QList<Color>& palette)
{
    endEditing();
    palettesTable->setFocus();
    const PaletteImport::Result result = PaletteImport::saveColors(
        store, tr("palette"), palette, StoredPalettes::closestNames(parts.names), well.current());
    if (result.listName.isEmpty()) {
        qCWarning(lcPalettes) << "cannot save the swatches as a palette:" << result.error;
        parts.dialogs.tell(this, tr("The swatches could not be saved as a palette."), result.error);
        return;
    }
    showPalettes(result.listName);
}

void PaletteController::deletePalettes()
{
    endEditing();
    const QList<PaletteEntry> selected = selectedPalettes();
    if (selected.isEmpty() || !deleteButton->isEnabled())
        return;
    palettesTable->setFocus();
    searchField->clear();
    const int firstRow = entries->rowOfName(selected.first().name);
    QList<ColorListStore::TrashedList> trashed;
    QStringList failed;
    for (const PaletteEntry& palette : selected) {
        if (std::optional<ColorListStore::TrashedList> moved = store.trashColorList(palette.name))
            trashed << *moved;
        else
            failed << palette.name;
    }
    if (!trashed.isEmpty()) {
        parts.deletions << trashed;
        undo->setEnabled(true);
    }
    entries->setPalettes(palettes());
    // The row that took the place of the first one deleted, or the new last.
    selectRow(entries->rowCount() == 0 ? -1 : std::min(firstRow, entries->rowCount() - 1));
    if (!failed.isEmpty())
        parts.dialogs.tell(this, tr("Some palettes could not be moved to the trash, so they were kept."),
                           failed.join(u'\n'));
}

void PaletteController::undoDelete()
{
    endEditing();
    if (parts.deletions.isEmpty())
        return;
    searchField->clear();
    QStringList restored;
    QStringList failed;
    for (const ColorListStore::TrashedList& trashed : parts.deletions.takeLast()) {
        QString error;
        if (std::optional<QString> name = store.restoreColorList(trashed, &error))
            restored << *name;
        else
            failed << QStringLiteral("%1: %2").arg(trashed.list.name(), error);
    }
    undo->setEnabled(!parts.deletions.isEmpty());
    entries->setPalettes(palettes());
    selectNames(restored);
    if (!failed.isEmpty())
        parts.dialogs.tell(this, tr("Some palettes could not be brought back."), failed.join(u'\n'));
}

void PaletteController::renamePalette()
{
    const QModelIndex current = palettesTable->currentIndex();
    if (current.isValid() && palettesTable->selectionModel()->isSelected(current))
        palettesTable->edit(current);
}

QString PaletteController::textFieldDidEndEditing(int row, const QString& text)
{
    const PaletteEntry entry = entries->entry(row);
    // An emptied name means the user changed their mind, not a list without
    // a name.
    if (text == entry.name || text.trimmed().isEmpty() || !entry.editable)
        return entry.name;
    const QString newName = ColorListNaming::getOriginalName(text, store.takenNames());
    if (const QString error = store.renameColorList(entry.name, newName); !error.isEmpty()) {
        qCWarning(lcPalettes) << "cannot rename" << entry.name << "to" << newName << error;
        parts.dialogs.tell(this, tr("The palette \u201c%1\u201d could not be renamed.").arg(entry.name), error);
        return entry.name;
    }
    entries->renameEntry(row, newName);
    // A click on another row ends an edit before the view reads which row
    // is under the pointer: the rows must not move until it has.
    QMetaObject::invokeMethod(this, [this, newName] { placeRenamedRow(newName); }, Qt::QueuedConnection);
    return newName;
}

void PaletteController::placeRenamedRow(const QString& name)
{
    const int row = entries->rowOfName(name);
    if (row < 0)
        return;
    // A renamed palette may not match the search any more.
    searchField->clear();
    entries->placeRow(row);
    palettesTable->scrollTo(palettesTable->currentIndex());
}

// ---- into the swatch column

void PaletteController::handOverSwatches(const QList<Color>& column)
{
    if (!parts.swatches || column.isEmpty())
        return;
    parts.swatches->handOver(parts.mainColor ? parts.mainColor() : *parts.swatches->lastColor(), column);
    fixButtonState();
}

void PaletteController::restorePalette()
{
    const std::optional<PaletteEntry> palette = singleSelected();
    if (!palette)
        return;
    QList<Color> column;
    for (const Color& color : palette->colors)
        column << ColorSpace::convert(color, well.current()).value_or(color);
    handOverSwatches(column);
}

void PaletteController::addToPalette()
{
    const std::optional<PaletteEntry> palette = singleSelected();
    if (!palette || palette->colors.isEmpty() || !parts.swatches)
        return;
    parts.swatches->handOverAdding(parts.mainColor ? parts.mainColor() : *parts.swatches->lastColor(),
                                   palette->colors);
    fixButtonState();
}

// ---- files

void PaletteController::exportPalette(std::optional<QPoint> at)
{
    endEditing();
    QMenu menu(this);
    const std::pair<QString, PaletteFile::Format> items[] = {
        {tr("Export to Apple .clr"), PaletteFile::Format::clr},
        {tr("Export to Adobe .ase"), PaletteFile::Format::ase},
        {tr("Export to JSON"), PaletteFile::Format::json},
        {tr("Export to GIMP .gpl"), PaletteFile::Format::gpl},
    };
    for (const auto& [title, format] : items)
        menu.addAction(title, this, [this, format] { exportPalettes(format); });
    if (!at)
        at = exportAt;
    menu.exec(at ? palettesTable->viewport()->mapToGlobal(*at)
                 : exportButton->mapToGlobal(QPoint(0, exportButton->height())));
}

void PaletteController::exportPalettes(PaletteFile::Format format)
{
    QStringList failures;
    // The program may close this window while a dialog is open (the
    // session ends, the tray's Quit): nothing of it is used after that.
    const QPointer<PaletteController> alive(this);
    PaletteParts& shared = parts;
    for (const PaletteEntry& palette : selectedPalettes()) {
        const QString path =
            shared.dialogs.chooseExportFile(this, PaletteExchange::fileNameFor(palette.name, format), format);
        if (!alive)
            return;
        if (path.isEmpty())
            continue;
        if (const QString failure = shared.exchange.exportPalette(palette, path, format); !failure.isEmpty())
            failures << failure;
    }
    if (!failures.isEmpty())
        shared.dialogs.tell(this, tr("Some palettes could not be exported."), failures.join(u'\n'));
}

void PaletteController::importPalette()
{
    const QPointer<PaletteController> alive(this);
    const QStringList paths = parts.dialogs.chooseImportFiles(this);
    if (alive && !paths.isEmpty())
        importPaths(paths);
}

void PaletteController::importFolder()
{
    const QPointer<PaletteController> alive(this);
    const QString folder = parts.dialogs.chooseImportFolder(this);
    if (alive && !folder.isEmpty())
        importPaths({folder});
}

void PaletteController::importPaths(const QStringList& paths)
{
    endEditing();
    searchField->clear();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const PaletteExchange::ImportReport report = parts.exchange.importPaths(paths);
    QGuiApplication::restoreOverrideCursor();
    entries->setPalettes(palettes());
    selectNames(report.imported);
    fixButtonState();
    if (report.paletteFiles == 0)
        parts.dialogs.tell(this, tr("Nothing was imported."),
                           tr("Huelark reads palettes from .clr, .ase, .json and .gpl files."));
    else if (!report.failures.isEmpty())
        parts.dialogs.tell(this,
                           report.imported.isEmpty() ? tr("The palettes could not be imported.")
                                                     : tr("Some files could not be imported in full."),
                           report.failures.join(u'\n'));
}
