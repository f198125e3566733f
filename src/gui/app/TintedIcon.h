#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// A monochrome icon from our resources drawn in `color`, at the sizes a
// toolbar needs on normal and high-density screens.
QIcon tintedIcon(const QString& resource, const QColor& color, int size = 18);
