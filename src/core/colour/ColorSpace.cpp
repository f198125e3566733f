#include "ColorSpace.h"

#include "Log.h"

#include <QtEndian>

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <mutex>

const QString ColorSpace::sRGBName = QStringLiteral("sRGB IEC61966-2.1");
const QString ColorSpace::genericCMYKName = QStringLiteral("Generic CMYK");

namespace {

// Profile handles are not documented as safe for concurrent transform
// creation; creation is rare, so one lock around it is enough. Applying a
// finished transform needs no lock.
std::mutex& creationMutex()
{
    static std::mutex mutex;
    return mutex;
}

cmsHPROFILE sRGBProfile()
{
    static cmsHPROFILE profile = cmsCreate_sRGBProfile();
    return profile;
}

double clampUnit(double v) { return std::clamp(v, 0.0, 1.0); }

} // namespace

struct ColorSpace::Transforms
{
    std::once_flag fromOnce, toOnce;
    cmsHTRANSFORM fromSRGB = nullptr;
    cmsHTRANSFORM toSRGB = nullptr;

    ~Transforms()
    {
        if (fromSRGB)
            cmsDeleteTransform(fromSRGB);
        if (toSRGB)
            cmsDeleteTransform(toSRGB);
    }
};

ColorSpace::ColorSpace(QString name, Model model, void* profileHandle)
    : spaceName(std::move(name))
    , spaceModel(model)
    , profile(profileHandle)
    , transforms(std::make_unique<Transforms>())
{
}

ColorSpace::~ColorSpace()
{
    transforms.reset(); // before the profile the transforms were made from
    if (profile)
        cmsCloseProfile(static_cast<cmsHPROFILE>(profile));
}

ColorSpacePtr ColorSpace::sRGB()
{
    static const ColorSpacePtr space(new ColorSpace(sRGBName, Model::RGB, nullptr));
    return space;
}

ColorSpacePtr ColorSpace::genericCMYK()
{
    static const ColorSpacePtr space(new ColorSpace(genericCMYKName, Model::CMYK, nullptr));
    return space;
}

std::shared_ptr<ColorSpace> ColorSpace::fromICCProfile(const QByteArray& bytes, const QString& fallbackName)
{
    // LittleCMS reads tags only when they are first used, so a truncated
    // file would open and fail later, when a colour is converted. The header
    // states the profile's size; anything shorter is refused now.
    if (bytes.size() < 128 || qFromBigEndian<quint32>(bytes.constData()) > static_cast<quint64>(bytes.size()))
        return nullptr;
    cmsHPROFILE handle = cmsOpenProfileFromMem(bytes.constData(), static_cast<cmsUInt32Number>(bytes.size()));
    if (!handle)
        return nullptr;

    // Only profiles that can turn colours into and out of the connection
    // space are of use; device links, abstract and named-colour profiles
    // are not colour spaces a colour can be held in.
    // The class and the data colour space are compared as the raw 32-bit
    // header fields: LittleCMS hands them back as its enum types whatever
    // the file says, and a value outside those enums (FF FF FF FF) must not
    // be held in one.
    const auto headerField = [&bytes](qsizetype offset) { return qFromBigEndian<quint32>(bytes.constData() + offset); };
    const auto is = [](quint32 field, auto signature) { return field == static_cast<quint32>(signature); };
    const quint32 cls = headerField(12);
    const bool usableClass = is(cls, cmsSigInputClass) || is(cls, cmsSigDisplayClass) || is(cls, cmsSigOutputClass)
        || is(cls, cmsSigColorSpaceClass);
    const quint32 data = headerField(16);
    Model model;
    if (usableClass && is(data, cmsSigRgbData))
        model = Model::RGB;
    else if (usableClass && is(data, cmsSigCmykData))
        model = Model::CMYK;
    else {
        cmsCloseProfile(handle);
        return nullptr;
    }

    QString name;
    const cmsUInt32Number size = cmsGetProfileInfoASCII(handle, cmsInfoDescription, "en", "US", nullptr, 0);
    if (size > 1) {
        QByteArray text(static_cast<qsizetype>(size), '\0');
        cmsGetProfileInfoASCII(handle, cmsInfoDescription, "en", "US", text.data(), size);
        name = QString::fromLatin1(text.constData()).trimmed();
    }
    if (name.isEmpty())
        name = fallbackName;
    return std::shared_ptr<ColorSpace>(new ColorSpace(name, model, handle));
}

bool ColorSpace::fromSRGB(const double in[3], double* out) const
{
    std::call_once(transforms->fromOnce, [this] {
        std::lock_guard lock(creationMutex());
        // RGB to RGB keeps in-gamut colours exactly where they are (relative
        // colorimetric), so sRGB -> space -> sRGB is lossless for them. RGB to
        // CMYK is a move to a smaller print gamut: the perceptual tables of
        // print profiles compress it gracefully instead of clipping.
        const bool cmyk = spaceModel == Model::CMYK;
        transforms->fromSRGB = cmsCreateTransform(sRGBProfile(), TYPE_RGB_DBL, static_cast<cmsHPROFILE>(profile),
                                                  cmyk ? TYPE_CMYK_DBL : TYPE_RGB_DBL,
                                                  cmyk ? INTENT_PERCEPTUAL : INTENT_RELATIVE_COLORIMETRIC, 0);
        if (!transforms->fromSRGB)
            qCWarning(lcColour) << "no transform from sRGB to" << spaceName;
    });
    if (!transforms->fromSRGB)
        return false;
    cmsDoTransform(transforms->fromSRGB, in, out, 1);
    return true;
}

bool ColorSpace::toSRGB(const double in[3], double out[3]) const
{
    std::call_once(transforms->toOnce, [this] {
        std::lock_guard lock(creationMutex());
        transforms->toSRGB = cmsCreateTransform(static_cast<cmsHPROFILE>(profile), TYPE_RGB_DBL, sRGBProfile(),
                                                TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
        if (!transforms->toSRGB)
            qCWarning(lcColour) << "no transform from" << spaceName << "to sRGB";
    });
    if (!transforms->toSRGB)
        return false;
    cmsDoTransform(transforms->toSRGB, in, out, 1);
    return true;
}

std::optional<Color> ColorSpace::convert(const Color& color, const ColorSpacePtr& target)
{
    if (!target || target->model() != Model::RGB || color.space()->model() != Model::RGB)
        return std::nullopt;
    const ColorSpacePtr& source = color.space();
    if (source == target || source->name() == target->name())
        return Color(color.red(), color.green(), color.blue(), target);

    // Every conversion goes through sRGB, the one hub space: a profile needs
    // two transforms instead of one per pair of spaces.
    double v[3] = {color.red(), color.green(), color.blue()};
    if (!source->isSRGB() && !source->toSRGB(v, v))
        return std::nullopt;
    if (!target->isSRGB() && !target->fromSRGB(v, v))
        return std::nullopt;
    for (double c : v)
        if (!std::isfinite(c))
            return std::nullopt;
    return Color(clampUnit(v[0]), clampUnit(v[1]), clampUnit(v[2]), target);
}

std::optional<Color> ColorSpace::fromLabD50(double L, double a, double b)
{
    if (!std::isfinite(L) || !std::isfinite(a) || !std::isfinite(b))
        return std::nullopt;
    // Made once and kept for the life of the process, like the sRGB profile.
    // Without the one-pixel cache a finished transform is safe to share
    // between threads.
    static const cmsHTRANSFORM transform = [] {
        std::lock_guard lock(creationMutex());
        cmsHPROFILE lab = cmsCreateLab4Profile(nullptr); // D50
        const cmsHTRANSFORM made = cmsCreateTransform(lab, TYPE_Lab_DBL, sRGBProfile(), TYPE_RGB_DBL,
                                                      INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        cmsCloseProfile(lab);
        if (!made)
            qCWarning(lcColour) << "no transform from Lab to sRGB";
        return made;
    }();
    if (!transform)
        return std::nullopt;
    const cmsCIELab in {L, a, b};
    double out[3] = {0, 0, 0};
    cmsDoTransform(transform, &in, out, 1);
    for (double c : out)
        if (!std::isfinite(c))
            return std::nullopt;
    return Color(clampUnit(out[0]), clampUnit(out[1]), clampUnit(out[2]), sRGB());
}

std::optional<std::array<double, 4>> ColorSpace::cmykComponents(const Color& color, const ColorSpace& cmyk)
{
    if (cmyk.model() != Model::CMYK)
        return std::nullopt;
    const std::optional<Color> srgb = convert(color, sRGB());
    if (!srgb)
        return std::nullopt;

    if (cmyk.isBuiltIn()) {
        const double r = srgb->red(), g = srgb->green(), b = srgb->blue();
        const double k = 1.0 - std::max({r, g, b});
        if (k >= 1.0)
            return std::array<double, 4>{0.0, 0.0, 0.0, 1.0};
        return std::array<double, 4>{(1.0 - r - k) / (1.0 - k), (1.0 - g - k) / (1.0 - k), (1.0 - b - k) / (1.0 - k), k};
    }

    const double in[3] = {srgb->red(), srgb->green(), srgb->blue()};
    double out[4] = {0, 0, 0, 0};
    if (!cmyk.fromSRGB(in, out))
        return std::nullopt;
    std::array<double, 4> result{};
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(out[i]))
            return std::nullopt;
        result[i] = clampUnit(out[i] / 100.0); // lcms gives CMYK doubles as 0..100
    }
    return result;
}
