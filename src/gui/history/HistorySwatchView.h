#pragma once

#include "colour/Color.h"

#include <QList>
#include <QWidget>

#include <functional>

// The preview of a history entry's swatch column: its colours side by side
// as equal strips in a rounded band, as the entry's submenu shows it. A
// click on it restores the entry.
class HistorySwatchView : public QWidget
{
    Q_OBJECT

public:
    // `wellColorSpace` is asked at every paint; empty means sRGB.
    explicit HistorySwatchView(std::function<ColorSpacePtr()> wellColorSpace = {}, QWidget* parent = nullptr);

    const QList<Color>& colorArray() const { return colors; }
    void setColorArray(const QList<Color>& colorArray);

    QSize sizeHint() const override { return { 200, 20 }; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<ColorSpacePtr()> wellColorSpace;
    QList<Color> colors;
};
