#pragma once

#include "colour/Color.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// What the two forms of colour-list files (.clr) share: the kinds of colour
// an NSColor is archived as, turned into sRGB colours, and the colour spaces
// a written file names. See KeyedColorList and TypedStreamColorList.
namespace ClrColor {

// The numbers the files give the kinds of colour (NSColorSpace in the keyed
// form, the first value of a colour in the typed stream).
enum Kind { CalibratedRGB = 1, DeviceRGB = 2, CalibratedWhite = 3, DeviceWhite = 4, DeviceCMYK = 5, Named = 6 };

// How many components a colour of `kind` needs (alpha, which may follow, is
// not counted); 0 for the kinds that have no components of their own.
int componentCount(int kind);

// The sRGB colour of the components of a colour of kinds 1 to 5, each
// clamped to 0..1 first: calibrated RGB through the generic RGB space,
// calibrated white through a gamma 2.2 grey, device RGB and white as sRGB,
// device CMYK by the formula of the built-in "Generic CMYK". Nothing for
// other kinds, too few components or components that are not finite.
std::optional<Color> fromComponents(int kind, const std::vector<double>& components);

// The numbers of a component text ("0.5 0.25 1"), which may end in NUL
// bytes. Nothing when a word of it is not a finite number.
std::optional<std::vector<double>> parseComponents(QByteArrayView text);

// An ICC profile a file carries, opened for converting its colours to sRGB.
class EmbeddedProfile
{
public:
    // Nothing for bytes that are not a whole RGB, grey or CMYK profile.
    static std::unique_ptr<EmbeddedProfile> open(const QByteArray& bytes);
    ~EmbeddedProfile();

    int channelCount() const { return channels; }
    // Nothing when the components are too few or give no finite colour.
    std::optional<Color> toSRGB(const std::vector<double>& components) const;

private:
    EmbeddedProfile() = default;
    void* profile = nullptr;   // cmsHPROFILE
    void* transform = nullptr; // cmsHTRANSFORM; null when the profile is sRGB itself
    int channels = 0;
    bool cmyk = false;
};

// The components of an sRGB colour in the generic RGB space (the calibrated
// RGB a reader without the embedded profile falls back to).
std::array<double, 3> calibratedRGB(const Color& srgb);

// An sRGB ICC profile, described as "sRGB IEC61966-2.1" so that a reader
// (this one included) knows it as sRGB itself.
const QByteArray& sRGBProfile();

} // namespace ClrColor
