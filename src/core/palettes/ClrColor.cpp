#include "ClrColor.h"

#include "colour/Cmyk.h"
#include "colour/ColorSpace.h"

#include <QtEndian>

#include <lcms2.h>

#include <algorithm>
#include <cmath>

namespace ClrColor {

namespace {

double unit(double v) { return std::clamp(v, 0.0, 1.0); }

bool allFinite(const double* v, int n)
{
    return std::all_of(v, v + n, [](double c) { return std::isfinite(c); });
}

// The generic RGB space of calibrated colours: gamma 1.8 on the Rec. 709
// (sRGB) primaries with a D65 white. These are the values with which the
// fallback components of our sample files come out to ten digits from their
// exact sRGB ones; they are not taken from the system's own profile and
// should be checked against it when one is at hand.
cmsHPROFILE createGenericRGB()
{
    const cmsCIExyY white {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 1.8);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    return profile;
}

// Calibrated white: a grey with gamma 2.2. Relative colorimetric maps its
// white onto sRGB's, so the white point chosen here does not matter.
cmsHPROFILE createGenericGrey()
{
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), gamma);
    cmsFreeToneCurve(gamma);
    return profile;
}

// Made once for the life of the process. Without the one-pixel cache a
// finished transform is safe to share between threads, so readers on
// background threads need no lock.
cmsHTRANSFORM sharedTransform(cmsHPROFILE from, cmsUInt32Number fromFormat, cmsHPROFILE to)
{
    const cmsHTRANSFORM made = from && to ? cmsCreateTransform(from, fromFormat, to, TYPE_RGB_DBL,
                                                               INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE)
                                          : nullptr;
    cmsCloseProfile(from);
    cmsCloseProfile(to);
    return made;
}

cmsHTRANSFORM genericRGBToSRGB()
{
    static const cmsHTRANSFORM t = sharedTransform(createGenericRGB(), TYPE_RGB_DBL, cmsCreate_sRGBProfile());
    return t;
}

cmsHTRANSFORM sRGBToGenericRGB()
{
    static const cmsHTRANSFORM t = sharedTransform(cmsCreate_sRGBProfile(), TYPE_RGB_DBL, createGenericRGB());
    return t;
}

cmsHTRANSFORM genericGreyToSRGB()
{
    static const cmsHTRANSFORM t = sharedTransform(createGenericGrey(), TYPE_GRAY_DBL, cmsCreate_sRGBProfile());
    return t;
}

std::optional<Color> converted(cmsHTRANSFORM transform, const double* in)
{
    if (!transform)
        return std::nullopt;
    double out[3] = {0, 0, 0};
    cmsDoTransform(transform, in, out, 1);
    if (!allFinite(out, 3))
        return std::nullopt;
    return Color(unit(out[0]), unit(out[1]), unit(out[2]), ColorSpace::sRGB());
}

} // namespace

int componentCount(int kind)
{
    switch (kind) {
    case CalibratedRGB:
    case DeviceRGB:
        return 3;
    case CalibratedWhite:
    case DeviceWhite:
        return 1;
    case DeviceCMYK:
        return 4;
    default:
        return 0;
    }
}

std::optional<Color> fromComponents(int kind, const std::vector<double>& components)
{
    const int n = componentCount(kind);
    if (n == 0 || qsizetype(components.size()) < n || !allFinite(components.data(), n))
        return std::nullopt;
    double v[4] = {0, 0, 0, 0};
    std::transform(components.begin(), components.begin() + n, v, unit);
    switch (kind) {
    case CalibratedRGB:
        return converted(genericRGBToSRGB(), v);
    case DeviceRGB:
        return Color(v[0], v[1], v[2], ColorSpace::sRGB());
    case CalibratedWhite:
        return converted(genericGreyToSRGB(), v);
    case DeviceWhite:
        return Color(v[0], v[0], v[0], ColorSpace::sRGB());
    default: // DeviceCMYK
        return sRGBFromCMYK(v[0], v[1], v[2], v[3]);
    }
}

std::optional<std::vector<double>> parseComponents(QByteArrayView text)
{
    // More words than any colour has components, or a word longer than any
    // number is written, means this is not a component text; the limits
    // also keep a huge text from becoming a huge list.
    constexpr int maximumWords = 16;
    constexpr qsizetype maximumWordLength = 64;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::vector<double> numbers;
    for (qsizetype i = 0;;) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        if (i == text.size())
            return numbers;
        qsizetype end = i;
        while (end < text.size() && !isSpace(text[end]) && end - i <= maximumWordLength)
            ++end;
        if (end - i > maximumWordLength || numbers.size() == maximumWords)
            return std::nullopt;
        bool ok = false;
        const double value = text.sliced(i, end - i).toByteArray().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        numbers.push_back(value);
        i = end;
    }
}

std::unique_ptr<EmbeddedProfile> EmbeddedProfile::open(const QByteArray& bytes)
{
    // LittleCMS reads tags only when first used, so a cut-short profile
    // would open and fail later: the size its header states must be there.
    if (bytes.size() < 128 || qFromBigEndian<quint32>(bytes.constData()) > static_cast<quint64>(bytes.size()))
        return nullptr;
    const quint32 data = qFromBigEndian<quint32>(bytes.constData() + 16);
    std::unique_ptr<EmbeddedProfile> opened(new EmbeddedProfile);
    cmsUInt32Number format = 0;
    if (data == static_cast<quint32>(cmsSigRgbData)) {
        opened->channels = 3;
        format = TYPE_RGB_DBL;
    } else if (data == static_cast<quint32>(cmsSigGrayData)) {
        opened->channels = 1;
        format = TYPE_GRAY_DBL;
    } else if (data == static_cast<quint32>(cmsSigCmykData)) {
        opened->channels = 4;
        opened->cmyk = true;
        format = TYPE_CMYK_DBL;
    } else {
        return nullptr;
    }
    opened->profile = cmsOpenProfileFromMem(bytes.constData(), static_cast<cmsUInt32Number>(bytes.size()));
    if (!opened->profile)
        return nullptr;
    cmsHPROFILE profile = static_cast<cmsHPROFILE>(opened->profile);

    // A profile that names itself sRGB is taken as sRGB, as the colour-space
    // registry takes spaces of one name as one space: the components are
    // then used as they are, so what the writer wrote reads back exactly.
    char description[64] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", description, sizeof description);
    if (opened->channels == 3 && QByteArray(description).trimmed() == ColorSpace::sRGBName.toLatin1())
        return opened;

    const int cls = static_cast<int>(qFromBigEndian<quint32>(bytes.constData() + 12));
    if (cls != cmsSigInputClass && cls != cmsSigDisplayClass && cls != cmsSigOutputClass
        && cls != cmsSigColorSpaceClass)
        return nullptr;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    opened->transform = cmsCreateTransform(profile, format, srgb, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsCloseProfile(srgb);
    return opened->transform ? std::move(opened) : nullptr;
}

EmbeddedProfile::~EmbeddedProfile()
{
    if (transform)
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform));
    if (profile)
        cmsCloseProfile(static_cast<cmsHPROFILE>(profile));
}

std::optional<Color> EmbeddedProfile::toSRGB(const std::vector<double>& components) const
{
    if (qsizetype(components.size()) < channels || !allFinite(components.data(), channels))
        return std::nullopt;
    double v[4] = {0, 0, 0, 0};
    for (int i = 0; i < channels; ++i)
        v[i] = unit(components[i]) * (cmyk ? 100.0 : 1.0); // LittleCMS takes CMYK doubles as 0..100
    if (!transform)
        return Color(v[0], v[1], v[2], ColorSpace::sRGB());
    return converted(static_cast<cmsHTRANSFORM>(transform), v);
}

std::array<double, 3> calibratedRGB(const Color& srgb)
{
    const double in[3] = {unit(srgb.red()), unit(srgb.green()), unit(srgb.blue())};
    const std::optional<Color> out = converted(sRGBToGenericRGB(), in);
    if (!out)
        return {in[0], in[1], in[2]};
    return {out->red(), out->green(), out->blue()};
}

const QByteArray& sRGBProfile()
{
    static const QByteArray bytes = [] {
        cmsHPROFILE profile = cmsCreate_sRGBProfile();
        cmsSetProfileVersion(profile, 2.1); // what the files macOS writes carry
        cmsMLU* description = cmsMLUalloc(nullptr, 1);
        cmsMLUsetASCII(description, "en", "US", ColorSpace::sRGBName.toLatin1().constData());
        cmsWriteTag(profile, cmsSigProfileDescriptionTag, description);
        cmsMLUfree(description);
        cmsUInt32Number size = 0;
        QByteArray saved;
        if (cmsSaveProfileToMem(profile, nullptr, &size) && size > 0) {
            saved.resize(size);
            if (!cmsSaveProfileToMem(profile, saved.data(), &size) || size < 36)
                saved.clear();
        }
        // The header's creation time would make every run write different
        // bytes for the same list; a fixed one (2000-01-01) keeps them equal.
        if (!saved.isEmpty())
            saved.replace(24, 12, QByteArray::fromHex("07d0 0001 0001 0000 0000 0000"));
        cmsCloseProfile(profile);
        return saved;
    }();
    return bytes;
}

} // namespace ClrColor
