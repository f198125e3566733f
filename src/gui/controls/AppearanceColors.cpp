#include "AppearanceColors.h"

#include "colour/ColorSpace.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace AppearanceColors {

bool appearanceIsDark(const QWidget* view)
{
    const QPalette palette = view ? view->palette() : QApplication::palette();
    // Comparing the two, rather than testing the background alone, also
    // answers right for mid-grey themes.
    return palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
}

std::optional<QColor> lighterColorFromColor(const QColor& color)
{
    if (!color.isValid())
        return std::nullopt;
    QColor faded = color;
    faded.setAlphaF(color.alphaF() / 2);
    return faded;
}

QColor onScreen(const Color& color)
{
    const Color screen = ColorSpace::convert(color, ColorSpace::sRGB()).value_or(color);
    return QColor::fromRgbF(float(screen.red()), float(screen.green()), float(screen.blue()));
}

QColor UIAccentColor() { return QApplication::palette().color(QPalette::Active, QPalette::Highlight); }

} // namespace AppearanceColors
