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
    const double radians = angle * M_PI / 180.0;
    const QPointF half(std::cos(radians) * rect.width() / 2, -std::sin(radians) * rect.height() / 2);
    return QLinearGradient(rect.center() - half, rect.center() + half);
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
