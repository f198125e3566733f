#include "PaletteTableView.h"

#include "palettes/PaletteCellView.h"

#include <QDrag>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

PaletteTableView::PaletteTableView(QWidget* parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

bool PaletteTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // A click renames only on the name itself: the strip below it is where
    // rows are picked up and dragged.
    if (trigger == SelectedClicked && event && event->type() == QEvent::MouseButtonRelease) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!PaletteCellView::nameRect(visualRect(index), font(), index.data().toString()).contains(at))
            return false;
    }
    return QListView::edit(index, trigger, event);
}

void PaletteTableView::commitEditing()
{
    if (state() != EditingState)
        return;
    for (QWidget* editor : viewport()->findChildren<QLineEdit*>()) {
        if (!editor->isVisible())
            continue; // closed, waiting to be deleted
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
}

void PaletteTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QListView::closeEditor(editor, hint);
    Q_EMIT editingEnded();
}

void PaletteTableView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState
        && event->modifiers() == Qt::NoModifier) {
        Q_EMIT returnPressed();
        return;
    }
    QListView::keyPressEvent(event);
}

void PaletteTableView::startDrag(Qt::DropActions)
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty() || !dragData)
        return;
    const bool gimp = QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    QMimeData* data = dragData(rows, gimp);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool PaletteTableView::takesDrop(const QDropEvent* event) const
{
    // Our own rows dropped back on the list would import them again.
    if (event->source() == this || !event->mimeData()->hasUrls())
        return false;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            return true;
    return false;
}

void PaletteTableView::dragEnterEvent(QDragEnterEvent* event)
{
    if (takesDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PaletteTableView::dragMoveEvent(QDragMoveEvent* event)
{
    if (takesDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PaletteTableView::dropEvent(QDropEvent* event)
{
    if (!takesDrop(event)) {
        event->ignore();
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}
