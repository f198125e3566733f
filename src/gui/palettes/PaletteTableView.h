#pragma once

#include <QListView>

#include <functional>

class QMimeData;

// The list of palettes: several rows selectable, a row renamed by F2 or a
// click on the name of a selected row, palette files dropped on it imported,
// and rows dragged out as files.
class PaletteTableView : public QListView
{
    Q_OBJECT

public:
    // Makes the files a drag of these rows carries; `gimp` when Shift is held.
    using DragData = std::function<QMimeData*(const QModelIndexList& rows, bool gimp)>;

    explicit PaletteTableView(QWidget* parent = nullptr);
    using QListView::edit;

    void setDragData(DragData make) { dragData = std::move(make); }
    bool isEditing() const { return state() == EditingState; }
    // Ends a name being typed as Return would: the new name is taken.
    void commitEditing();

Q_SIGNALS:
    void returnPressed();
    void filesDropped(const QStringList& paths);
    void editingEnded();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool takesDrop(const QDropEvent* event) const;

    DragData dragData;
};
