#pragma once

#include <QColor>
#include <QWidget>

class QToolButton;

// The view of one row of the swatch column: the swatch as a rounded chip
// with a hairline edge (so a swatch of the window's own colour still shows),
// a remove button that shows while the pointer is over the row, a dot when
// the swatch is the current colour, and a ring when the keyboard is on the
// row.
//
// Presses, drags and context clicks anywhere but on the button go on to the
// table beneath, which selects, drags and drops rows.
class SwatchCellView : public QWidget
{
    Q_OBJECT

public:
    SwatchCellView(int row, const QColor& color, const QString& hexCode, QWidget* parent = nullptr);

    int row() const { return rowNumber; }
    QColor color() const { return shown; }

    void setCurrent(bool current);
    bool isCurrent() const { return current; }
    void setKeyboardFocus(bool focus);
    // The chip's edge, chosen to show against the window's colour.
    void setEdgeColor(const QColor& color);

    QToolButton* removeButton = nullptr;

Q_SIGNALS:
    void entered(int row);
    void exited(int row);
    void removeClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Dark marks on light colours, light marks on dark ones.
    QColor markColor(int alpha) const;

    int rowNumber;
    QColor shown;
    bool current = false;
    bool keyboardFocus = false;
    QColor edge { 0, 0, 0, 40 };
};
