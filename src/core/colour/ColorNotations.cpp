#include "ColorNotations.h"

#include "Cmyk.h"
#include "CodeStrings.h"
#include "ColorSpace.h"
#include "HexCodec.h"
#include "Hsb.h"
#include "Hsl.h"
#include "Lab.h"

std::optional<ColorNotations> ColorNotations::of(const Color& color, const ColorSpacePtr& wellSpace,
                                                 const ColorSpace* cmykSpace, bool useObjCSyntax)
{
    const std::optional<Color> inWell = ColorSpace::convert(color, wellSpace);
    if (!inWell)
        return std::nullopt;
    ColorNotations n;
    n.rgb = inWell->integerComponents();
    const auto [r, g, b] = n.rgb;
    n.hex = HexCodec::storedForm(r, g, b);
    n.hsl = hslFromRGB(r, g, b);
    n.hsb = hsbFromRGB(r, g, b);
    n.cmyk = cmykFromRGB(r, g, b, wellSpace, cmykSpace);
    n.lab = labFromRGB(r, g, b);
    const QString rs = QString::number(r), gs = QString::number(g), bs = QString::number(b);
    n.nsColor = CodeStrings::code(CodeStrings::ColorClass::NSColor, rs, gs, bs, useObjCSyntax);
    n.uiColor = CodeStrings::code(CodeStrings::ColorClass::UIColor, rs, gs, bs, useObjCSyntax);
    return n;
}
