#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

// The colours taken from a dropped image, side by side in equal cells
// without gaps; the cells outside the selected run are dimmed to a tenth.
class DropPreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit DropPreviewView(QWidget* parent = nullptr);

    void setColors(const QList<QColor>& colors);
    int count() const { return int(cells.size()); }
    // Cells start ≤ i ≤ end − 1 at full strength.
    void setSelectedRange(int start, int end);
    bool isDimmed(int cell) const { return cell < first || cell >= last; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QColor> cells;
    int first = 0;
    int last = 0;
};
