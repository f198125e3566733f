#pragma once

#include "colour/Color.h"
#include "tools/ColorHarmonies.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ColorSpaceRegistry;
class CurrentColors;
class NotificationCenter;
class UserDefaults;
class WellColorSpace;

// What was dropped on the tool window: a picture's file contents, a
// picture another part of the program handed over, or image files. Decoding
// waits for the worker: a big picture must not stall the window.
struct DropJob
{
    QByteArray imageData;
    QImage image;
    QStringList files;
};

// The dominant colours of a drop, most frequent first, and the files that
// could not be read ("file: reason").
struct DropColors
{
    QList<Color> colors;
    QStringList skipped;
};

// What the tool window works with; a closed window is rebuilt from these.
struct ToolParts
{
    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    const WellColorSpace& well;
    NotificationCenter& center;
    // The rows for a base colour (held in the window's space), base first.
    std::function<QList<ColorHarmonies::Row>(const Color& base)> harmonies;
    // Runs on a worker thread: it must not touch the window.
    std::function<DropColors(const DropJob& job)> extract;
    // The swatch column the rows go into, the main colour (which stays as
    // it is meanwhile) and a way to show the column's last swatch.
    CurrentColors* swatches = nullptr;
    std::function<Color()> mainColor;
    std::function<void()> showLastSwatch;
};
