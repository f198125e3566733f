#pragma once

#include "colour/Color.h"

#include <QList>
#include <QRectF>

class QPainter;

// A row of colours as equal strips in a rounded band: how the History menu
// previews a swatch column and how the palettes window shows a palette.
namespace ColorStrip {

// Each colour converted to `space` first; one that cannot be is left out
// and its width stays empty at the right end. Strip edges fall on whole
// device pixels (`devicePixelRatio`), so neighbours meet without a seam at
// any scale.
void paint(QPainter& painter, const QRectF& band, qreal radius, const QList<Color>& colors,
           const ColorSpacePtr& space, qreal devicePixelRatio);

} // namespace ColorStrip
