#include "HistorySwatchView.h"

#include "colour/ColorSpace.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

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
    if (colors.isEmpty() || band.width() <= 0)
        return;
    QPainterPath rounded;
    rounded.addRoundedRect(band, 2, 2);

    const ColorSpacePtr well = wellColorSpace ? wellColorSpace() : nullptr;
    const ColorSpacePtr space = well ? well : ColorSpace::sRGB();
    const qreal ratio = devicePixelRatioF();
    // Strip edges on whole device pixels: neighbours meet without a seam.
    const auto snapped = [ratio](qreal x) { return std::round(x * ratio) / ratio; };
    const qreal width = band.width() / qreal(colors.size());
    qreal x = band.x();
    for (const Color& color : colors) {
        const std::optional<Color> inWell = ColorSpace::convert(color, space);
        if (!inWell)
            continue; // the strips that follow move up; the gap stays at the right
        const Color screen = ColorSpace::convert(*inWell, ColorSpace::sRGB()).value_or(*inWell);
        QPainterPath strip;
        strip.addRect(QRectF(QPointF(snapped(x), band.top()), QPointF(snapped(x + width), band.bottom())));
        painter.fillPath(rounded.intersected(strip),
                         QColor::fromRgbF(float(screen.red()), float(screen.green()), float(screen.blue())));
        x += width;
    }
}

void HistorySwatchView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    else
        QWidget::mouseReleaseEvent(event);
}
