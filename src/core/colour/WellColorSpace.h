#pragma once

#include "ColorSpace.h"

#include <QObject>

class ColorSpaceRegistry;
class UserDefaults;

// The RGB space every colour of the main window is held in, as the
// "colorSpace" setting chooses it. The history, the swatch list, the
// palettes and the tools ask this one service, so none of them has to reach
// into the window for it. Main thread only.
class WellColorSpace : public QObject
{
    Q_OBJECT

public:
    // Starts in sRGB; update() reads the setting.
    WellColorSpace(UserDefaults& defaults, const ColorSpaceRegistry& spaces, QObject* parent = nullptr);

    const ColorSpacePtr& current() const { return space; }
    // Re-chooses the space from "colorSpace" (an unknown name gives sRGB).
    void update();

Q_SIGNALS:
    void changed(const ColorSpacePtr& space);

private:
    UserDefaults& defaults;
    const ColorSpaceRegistry& spaces;
    ColorSpacePtr space;
};
