#pragma once

#include <QTableView>

class SwatchColumn;

// The table of the swatch column: one column of rows whose heights follow
// the column's rule, dragging a row out, dropping rows and colours into the
// gaps between rows, and the keyboard. What any of it does to the swatches
// is the column's business; the table asks it.
//
// Keys: Up and Down pick the swatch above or below, Space or Return picks
// the focused one, Delete removes it, Ctrl+Up and Ctrl+Down move it. The
// context menu (right click, the Menu key) offers the same and more.
class SwatchTable : public QTableView
{
    Q_OBJECT

public:
    explicit SwatchTable(SwatchColumn& column, QWidget* parent = nullptr);

    // Applies the column's row heights for the table's present height.
    void updateRowHeights();
    // The gap a drop at `point` (viewport coordinates) goes into: the row it
    // lands before, the row count for the end.
    int dropRow(const QPoint& point) const;

Q_SIGNALS:
    // The keyboard moved to `row` or the user clicked it.
    void rowChosen(int row);
    void removeRequested(int row);
    void moveRequested(int row, int gap);
    void keyboardRowChanged();

protected:
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // Accepts or refuses a drag over the table, showing where it would land.
    bool acceptDrag(QDropEvent* event);
    void showDropIndicator(int gap);

    SwatchColumn& column;
    QWidget* dropIndicator = nullptr;
};
