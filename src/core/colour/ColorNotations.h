#pragma once

#include "Color.h"

#include <QString>

#include <array>
#include <optional>

// Every notation of one colour at once, as the main window's full refresh
// fills its fields (numbers without units, hex in stored form). Used by the
// window, the command line and the benchmark alike so that all three agree.
struct ColorNotations
{
    std::array<int, 3> rgb{};
    std::array<int, 3> hsl{};
    std::array<int, 3> hsb{};
    std::array<int, 3> lab{};
    std::array<int, 4> cmyk{};
    QString hex;
    QString nsColor;
    QString uiColor;

    // Nothing when the colour cannot be moved into `wellSpace`. `cmykSpace`
    // may be null (no CMYK space: the CMYK values are zeros).
    static std::optional<ColorNotations> of(const Color& color, const ColorSpacePtr& wellSpace,
                                            const ColorSpace* cmykSpace, bool useObjCSyntax);
};
