#include "SwatchTable.h"

#include "swatches/SwatchCellView.h"
#include "swatches/SwatchColumn.h"
#include "swatches/SwatchDragData.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

SwatchTable::SwatchTable(SwatchColumn& column, QWidget* parent)
    : QTableView(parent)
    , column(column)
{
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false); // the rows' views would hide Qt's own
    setAutoScroll(true);
    setAccessibleName(tr("Swatches"));
    // A slim bar that lets the colours behind show, not a desktop scroll bar.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 7px; margin: 0 0 0 2px; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 0.6); border-radius: 2px; min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));

    dropIndicator = new QWidget(viewport());
    dropIndicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    dropIndicator->setAutoFillBackground(true);
    QPalette indicator = dropIndicator->palette();
    indicator.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    dropIndicator->setPalette(indicator);
    dropIndicator->hide();
}

void SwatchTable::updateRowHeights()
{
    if (model() && model()->columnCount() > 0)
        setColumnWidth(0, viewport()->width());
    const int count = model() ? model()->rowCount() : 0;
    for (int row = 0; row < count; ++row)
        verticalHeader()->resizeSection(row, column.tableViewHeightOfRow(row));
}

bool SwatchTable::viewportEvent(QEvent* event)
{
    // One column as wide as what is visible, with or without the scroll bar.
    if (event->type() == QEvent::Resize && model() && model()->columnCount() > 0)
        setColumnWidth(0, viewport()->width());
    return QTableView::viewportEvent(event);
}

void SwatchTable::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateRowHeights();
}

int SwatchTable::dropRow(const QPoint& point) const
{
    const int count = model() ? model()->rowCount() : 0;
    const int row = rowAt(point.y());
    if (row < 0)
        return point.y() < 0 ? 0 : count;
    // The upper half of a row is the gap above it, the lower half the gap below.
    const int top = rowViewportPosition(row);
    return point.y() < top + rowHeight(row) / 2 ? row : row + 1;
}

void SwatchTable::startDrag(Qt::DropActions)
{
    const int row = currentIndex().row();
    QMimeData* data = column.tableViewPasteboardWriterForRow(row);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    if (SwatchCellView* cell = column.cellAt(row)) {
        // The swatch itself, rounded, under the pointer as it was grabbed.
        const qreal ratio = devicePixelRatioF();
        QPixmap image(cell->size() * ratio);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath rounded;
        rounded.addRoundedRect(QRectF(cell->rect()), 4, 4);
        painter.fillPath(rounded, cell->color());
        painter.end();
        drag->setPixmap(image);
        drag->setHotSpot(cell->mapFromGlobal(QCursor::pos()));
    }
    // No slide back: a swatch dropped nowhere is gone, one dropped in the
    // window stays where it was.
    const Qt::DropAction result = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    dropIndicator->hide();
    column.tableViewDraggingSessionEndedAtPoint(row, result, QCursor::pos());
}

bool SwatchTable::acceptDrag(QDropEvent* event)
{
    if (!column.tableViewValidateDrop(event->mimeData())) {
        dropIndicator->hide();
        event->ignore();
        return false;
    }
    const bool move = column.isOwnDrag(event->mimeData());
    // Colours from elsewhere are copied: a program that handed over a text
    // must keep it.
    event->setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
    // A colour from elsewhere always goes to the top.
    showDropIndicator(move ? dropRow(event->position().toPoint()) : 0);
    return true;
}

void SwatchTable::showDropIndicator(int gap)
{
    const int count = model() ? model()->rowCount() : 0;
    int y = 0;
    if (count > 0)
        y = gap < count ? rowViewportPosition(gap) : rowViewportPosition(count - 1) + rowHeight(count - 1);
    const int thickness = 3;
    y = std::clamp(y - thickness / 2, 0, std::max(0, viewport()->height() - thickness));
    dropIndicator->setGeometry(0, y, viewport()->width(), thickness);
    dropIndicator->raise();
    dropIndicator->show();
}

void SwatchTable::dragEnterEvent(QDragEnterEvent* event)
{
    acceptDrag(event);
}

void SwatchTable::dragMoveEvent(QDragMoveEvent* event)
{
    if (!acceptDrag(event))
        return;
    // A long column scrolls when the drag nears its ends.
    const int y = event->position().toPoint().y();
    if (y < autoScrollMargin() || y > viewport()->height() - autoScrollMargin())
        startAutoScroll();
}

void SwatchTable::dragLeaveEvent(QDragLeaveEvent* event)
{
    dropIndicator->hide();
    QTableView::dragLeaveEvent(event);
}

void SwatchTable::dropEvent(QDropEvent* event)
{
    dropIndicator->hide();
    stopAutoScroll();
    if (!column.tableViewValidateDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    const bool move = column.isOwnDrag(event->mimeData());
    if (column.tableViewAcceptDrop(event->mimeData(), dropRow(event->position().toPoint()))) {
        event->setDropAction(move ? Qt::MoveAction : Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void SwatchTable::keyPressEvent(QKeyEvent* event)
{
    const int row = currentIndex().row();
    const int count = model() ? model()->rowCount() : 0;
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (row >= 0) {
            Q_EMIT removeRequested(row);
            // The keyboard stays on the row that took the removed one's place.
            setCurrentIndex(model()->index(std::min(row, model()->rowCount() - 1), 0));
        }
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row >= 0)
            Q_EMIT rowChosen(row);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (control) {
            if (row >= 0) {
                const int to = std::clamp(event->key() == Qt::Key_Up ? row - 1 : row + 1, 0, count - 1);
                Q_EMIT moveRequested(row, to > row ? to + 1 : to);
                setCurrentIndex(model()->index(to, 0)); // the keyboard moves with the swatch
            }
            return;
        }
        break;
    case Qt::Key_Escape:
        // Not ours: the window may want it.
        event->ignore();
        return;
    default:
        break;
    }
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex().isValid() && currentIndex() != before && count > 0)
        Q_EMIT rowChosen(currentIndex().row());
}

void SwatchTable::contextMenuEvent(QContextMenuEvent* event)
{
    const int row = event->reason() == QContextMenuEvent::Mouse ? rowAt(event->pos().y()) : currentIndex().row();
    const int count = model() ? model()->rowCount() : 0;
    QMenu menu(this);
    menu.addAction(tr("Use This Colour"), this, [this, row] { Q_EMIT rowChosen(row); })->setEnabled(row >= 0);
    menu.addAction(tr("Remove Swatch"), this, [this, row] { Q_EMIT removeRequested(row); })
        ->setEnabled(row >= 0 && count > 1);
    menu.addSeparator();
    menu.addActions(column.contextCommands());
    menu.exec(event->globalPos());
}

void SwatchTable::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    if (!currentIndex().isValid() && model() && model()->rowCount() > 0)
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
    Q_EMIT keyboardRowChanged();
}

void SwatchTable::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    Q_EMIT keyboardRowChanged();
}

void SwatchTable::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    Q_EMIT keyboardRowChanged();
}
