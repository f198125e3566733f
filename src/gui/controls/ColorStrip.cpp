#include "ColorStrip.h"

#include "AppearanceColors.h"
#include "colour/ColorSpace.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ColorStrip {

void paint(QPainter& painter, const QRectF& band, qreal radius, const QList<Color>& colors,
           const ColorSpacePtr& space, qreal devicePixelRatio)
{
    if (colors.isEmpty() || band.width() <= 0 || band.height() <= 0)
        return;
    QPainterPath rounded;
    rounded.addRoundedRect(band, radius, radius);
    const auto snapped = [devicePixelRatio](qreal x) { return std::round(x * devicePixelRatio) / devicePixelRatio; };
    const qreal width = band.width() / qreal(colors.size());
    qreal x = band.x();
    for (const Color& color : colors) {
        const std::optional<Color> inSpace = ColorSpace::convert(color, space ? space : ColorSpace::sRGB());
        if (!inSpace)
            continue; // the strips that follow move up; the gap stays at the right
        QPainterPath strip;
        strip.addRect(QRectF(QPointF(snapped(x), band.top()), QPointF(snapped(x + width), band.bottom())));
        painter.fillPath(rounded.intersected(strip), AppearanceColors::onScreen(*inSpace));
        x += width;
    }
}

} // namespace ColorStrip
