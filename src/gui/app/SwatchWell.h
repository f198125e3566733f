#pragma once

#include "colour/Color.h"

#include <QWidget>

#include <memory>

// The large well behind the main window's rows: it shows the current colour
// and is the one place that holds it. Each change makes a new colour object,
// so whoever remembers the object it last saw can tell a later change from
// none, even when the values are equal. A press on the well itself moves the
// window, as a title bar would.
class SwatchWell : public QWidget
{
    Q_OBJECT

public:
    explicit SwatchWell(QWidget* parent = nullptr);

    const std::shared_ptr<const Color>& color() const { return wellColor; }
    void setColor(const Color& color);
    // What the rows laid over the well need, and with every row turned off
    // still a swatch big enough to see and to grab.
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void colorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<const Color> wellColor;
    QColor shown; // the colour as the screen shows it (sRGB)
};
