#include "ToolWell.h"

#include <QPainter>

ToolWell::ToolWell(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMinimumSize(18, 18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ToolWell::setColor(const QColor& color)
{
    if (color == shown)
        return;
    shown = color;
    update();
}

void ToolWell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.setBrush(shown);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}
