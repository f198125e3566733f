#pragma once

#include <QLinearGradient>
#include <QWidget>

// The tool window's background: a faint white gradient at 60° in a light
// theme, the theme's own window colour in a dark one.
class LightGradientView : public QWidget
{
    Q_OBJECT

public:
    explicit LightGradientView(QWidget* parent = nullptr);

    // A linear gradient across `rect` at `angle` degrees, 0 running left to
    // right, 90 bottom to top; the rows of the window draw theirs so too.
    static QLinearGradient gradientAt(const QRectF& rect, int angle);

protected:
    void paintEvent(QPaintEvent* event) override;
};
