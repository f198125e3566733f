#include "HistorySwatchView.h"

#include "controls/ColorStrip.h"

#include <QMouseEvent>
#include <QPainter>

HistorySwatchView::HistorySwatchView(std::function<ColorSpacePtr()> wellColorSpace, QWidget* parent)
    : QWidget(parent)
    , wellColorSpace(std::move(wellColorSpace))
{
    setMinimumSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void HistorySwatchView::setColorArray(const QList<Color>& colorArray)
{
    colors = colorArray;
    update();
}

void HistorySwatchView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = rect();
    const QRectF band(frame.x() + 6, frame.y(), frame.width() - 12, frame.height());
    ColorStrip::paint(painter, band, 2, colors, wellColorSpace ? wellColorSpace() : nullptr, devicePixelRatioF());
}

void HistorySwatchView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    else
        QWidget::mouseReleaseEvent(event);
}
