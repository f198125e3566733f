#include "TintedIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap tinted(const QIcon& source, int size, qreal ratio, const QColor& color)
{
    QPixmap pixmap = source.pixmap(QSize(size, size), ratio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

} // namespace

QIcon tintedIcon(const QString& resource, const QColor& color, int size)
{
    const QIcon source(resource);
    // A greyed copy of a light icon on a dark theme would look enabled:
    // disabled buttons get the same colour, faded.
    QColor faded = color;
    faded.setAlphaF(0.3f);
    QIcon icon;
    for (const qreal ratio : { 1.0, 2.0 }) {
        icon.addPixmap(tinted(source, size, ratio, color), QIcon::Normal);
        icon.addPixmap(tinted(source, size, ratio, faded), QIcon::Disabled);
    }
    return icon;
}
