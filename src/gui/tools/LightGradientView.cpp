#include "LightGradientView.h"

#include "controls/AppearanceColors.h"

#include <QPainter>

#include <cmath>

LightGradientView::LightGradientView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

QLinearGradient LightGradientView::gradientAt(const QRectF& rect, int angle)
{
    // Along the angle's direction, long enough to reach the corners the
    // direction points at: the angle stays the angle on any shape.
    const double radians = angle * M_PI / 180.0;
    const QPointF direction(std::cos(radians), -std::sin(radians));
    const double half = (rect.width() * std::abs(direction.x()) + rect.height() * std::abs(direction.y())) / 2;
    return QLinearGradient(rect.center() - direction * half, rect.center() + direction * half);
}

void LightGradientView::paintEvent(QPaintEvent*)
{
    if (AppearanceColors::appearanceIsDark(this))
        return;
    QPainter painter(this);
    QLinearGradient gradient = gradientAt(rect(), 60);
    gradient.setColorAt(0, QColor::fromRgbF(1, 1, 1));
    gradient.setColorAt(1, QColor::fromRgbF(0.98f, 0.98f, 0.98f));
    painter.fillRect(rect(), gradient);
}
