#include "DropPreviewView.h"

#include <QPainter>

#include <cmath>

DropPreviewView::DropPreviewView(QWidget* parent)
    : QWidget(parent)
{
    // Clicks belong to the row around it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMinimumHeight(40);
}

void DropPreviewView::setColors(const QList<QColor>& colors)
{
    cells = colors;
    update();
}

void DropPreviewView::setSelectedRange(int start, int end)
{
    first = start;
    last = end;
    update();
}

void DropPreviewView::paintEvent(QPaintEvent*)
{
    if (cells.isEmpty())
        return;
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    // Cell edges on whole device pixels: no seams between the cells.
    const auto snapped = [ratio](qreal x) { return std::round(x * ratio) / ratio; };
    const qreal width = qreal(this->width()) / qreal(cells.size());
    for (int i = 0; i < cells.size(); ++i) {
        QColor color = cells[i];
        color.setAlphaF(isDimmed(i) ? 0.1f : 1.0f);
        painter.fillRect(QRectF(QPointF(snapped(i * width), 0), QPointF(snapped((i + 1) * width), height())), color);
    }
}
