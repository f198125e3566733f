#include "TintedIcon.h"

#include <QPainter>
#include <QPixmap>

QIcon tintedIcon(const QString& resource, const QColor& color, int size)
{
    const QIcon source(resource);
    QIcon icon;
    for (const qreal ratio : { 1.0, 2.0 }) {
        QPixmap pixmap = source.pixmap(QSize(size, size), ratio);
        if (pixmap.isNull())
            continue;
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), color);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
