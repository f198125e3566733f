#pragma once

#include "Color.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// A colour space the program can hold colours in (RGB) or show CMYK values
// in. Two are built in, sRGB and "Generic CMYK"; the rest wrap ICC profiles
// found on the system (see ColorSpaceRegistry). Conversions go through
// LittleCMS with transforms cached per pair of spaces.
class ColorSpace
{
public:
    enum class Model { RGB, CMYK };

    static const QString sRGBName;        // "sRGB IEC61966-2.1"
    static const QString genericCMYKName; // "Generic CMYK"

    static ColorSpacePtr sRGB();
    static ColorSpacePtr genericCMYK();

    // Reads an ICC profile of the RGB or CMYK class. Answers nothing for
    // unreadable bytes and for profiles of any other class (grey, Lab, device
    // links...). The space is named after the profile's description, or
    // `fallbackName` when it has none.
    static std::shared_ptr<ColorSpace> fromICCProfile(const QByteArray& bytes, const QString& fallbackName);

    ~ColorSpace();
    ColorSpace(const ColorSpace&) = delete;
    ColorSpace& operator=(const ColorSpace&) = delete;

    const QString& name() const { return spaceName; }
    void setName(const QString& name) { spaceName = name; } // before the space is shared
    Model model() const { return spaceModel; }
    bool isBuiltIn() const { return profile == nullptr; }
    bool isSRGB() const { return isBuiltIn() && spaceModel == Model::RGB; }
    QString filePath;

    // The colour converted into `target`, an RGB space. sRGB to sRGB and any
    // space to itself are exactly the identity. Components that fall outside
    // the target's gamut are clamped to 0..1. Nothing when no transform
    // between the two spaces can be made.
    static std::optional<Color> convert(const Color& color, const ColorSpacePtr& target);

    // The sRGB colour of a CIE L*a*b* value relative to a D50 white (the
    // connection space of ICC profiles, and how swatch files store Lab),
    // clamped to the sRGB gamut. Nothing for values that are not finite.
    static std::optional<Color> fromLabD50(double L, double a, double b);

    // Cyan, magenta, yellow and black (0 to 1) of an RGB colour in the CMYK
    // space `cmyk`. Nothing when `cmyk` is not a CMYK space or the transform
    // cannot be made.
    static std::optional<std::array<double, 4>> cmykComponents(const Color& color, const ColorSpace& cmyk);

private:
    struct Transforms;
    ColorSpace(QString name, Model model, void* profile);

    // Components of this space from sRGB ones and back, through transforms
    // made on first use and kept for the life of the space.
    bool fromSRGB(const double in[3], double* out) const;
    bool toSRGB(const double in[3], double out[3]) const;

    QString spaceName;
    Model spaceModel;
    void* profile = nullptr; // cmsHPROFILE; null for the built-in spaces
    std::unique_ptr<Transforms> transforms;
};
