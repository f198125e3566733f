#pragma once

#include "palettes/PaletteListModel.h"
#include "palettes/PaletteParts.h"

#include "palettes/ColorListStore.h"
#include "palettes/PaletteFile.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class PaletteTableView;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QToolButton;
class WellColorSpace;
class WindowFrameAutosave;

// The palettes window: every colour list, the user's and the system's, a
// row each with its name over a strip of its colours. From here the user
// saves the swatch column as a palette, renames and deletes palettes (a
// deletion goes to the trash and Ctrl+Z brings it back), puts a palette
// into the swatch column or adds it there, and imports and exports palette
// files. Changes made elsewhere (another Huelark, a file manager) show up
// once per burst; the window's own changes do not reload it.
class PaletteController : public QWidget
{
    Q_OBJECT

public:
    explicit PaletteController(PaletteParts& parts, QWidget* parent = nullptr);
    ~PaletteController() override;

    // Selects the row of the last visit, mirrors missing lists, shows the
    // window and brings it to the front.
    void windowWillLoad();
    // Brings the open window to the front as it is.
    void showAndRaise();

    // Every palette, rebuilt from the store; the list model puts them in
    // the order shown.
    QList<PaletteEntry> palettes() const;

    void saveCurrentPalette(const QList<Color>& palette);
    void deletePalettes();
    // Brings back the palettes of the last deletion still undone.
    void undoDelete();
    void restorePalette();
    void addToPalette();
    // Starts renaming the selected palette.
    void renamePalette();
    // The renaming of row `row` of the model ended with `text`; the name the
    // palette has now.
    QString textFieldDidEndEditing(int row, const QString& text);

    // The export menu, at the export button or at `at` (the list's
    // coordinates, for a row's context menu).
    void exportPalette(std::optional<QPoint> at = std::nullopt);
    void exportPalettes(PaletteFile::Format format);
    void importPalette();
    void importFolder();
    void importPaths(const QStringList& paths);

    void colorListChanged();
    void reloadPalettes();
    void fixButtonState();
    void updateRemoveButtonForObject(const PaletteEntry* entry);

    // The window's parts, for the keyboard and for tests.
    PaletteTableView* palettesTable = nullptr;
    QLineEdit* searchField = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* restoreButton = nullptr;
    QPushButton* exportButton = nullptr;
    QToolButton* importButton = nullptr;
    QLabel* hintLabel = nullptr;
    PaletteListModel& model() const { return *entries; }
    QAction* undoAction() const { return undo; }
    // The palettes selected now, in list order.
    QList<PaletteEntry> selectedPalettes() const;
    void selectNames(const QStringList& names);

Q_SIGNALS:
    // The window closed; its owner drops it.
    void windowWillClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildWindow();
    void buildActions();
    void showPalettes(const QString& selectName);
    void selectRow(int row);
    void tableViewSelectionDidChange();
    // A name being typed is committed before the list changes under it.
    void endEditing();
    // Puts a renamed row in its place in the order, once the click or key
    // that ended the edit has done its work.
    void placeRenamedRow(const QString& name);
    void contextMenu(const QPoint& at);
    void hintAtEmptyList();
    // The one selected palette, or nothing with none or several selected.
    std::optional<PaletteEntry> singleSelected() const;
    void handOverSwatches(const QList<Color>& column);

    PaletteParts& parts;
    ColorListStore& store;
    const WellColorSpace& well;
    PaletteListModel* entries = nullptr;
    QSortFilterProxyModel* arrayController = nullptr;
    std::unique_ptr<WindowFrameAutosave> frame;
    QTimer colorListTimer;
    bool reloadAfterEdit = false;
    QAction* undo = nullptr;
    QList<QAction*> rowActions; // restore, add, rename, export, delete
    std::optional<QPoint> exportAt; // the row whose context menu is open
};
