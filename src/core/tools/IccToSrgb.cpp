#include "IccToSrgb.h"

#include "Log.h"

#include <lcms2.h>

std::unique_ptr<IccToSrgb> IccToSrgb::forProfile(QByteArrayView profile)
{
    if (profile.isEmpty())
        return nullptr;
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size()));
    if (!source) {
        qCInfo(lcTools) << "unreadable ICC profile in an image; its pixels are taken as sRGB";
        return nullptr;
    }
    cmsHTRANSFORM transform = nullptr;
    if (cmsGetColorSpace(source) == cmsSigRgbData) {
        cmsHPROFILE sRGB = cmsCreate_sRGBProfile();
        // Extra channels untouched: the alpha or filler byte stays in place.
        transform = cmsCreateTransform(source, TYPE_RGBA_8, sRGB, TYPE_RGBA_8, INTENT_PERCEPTUAL, 0);
        cmsCloseProfile(sRGB);
    }
    cmsCloseProfile(source);
    if (!transform)
        return nullptr;
    return std::unique_ptr<IccToSrgb>(new IccToSrgb(transform));
}

IccToSrgb::IccToSrgb(void* transform)
    : transform(transform)
{
}

IccToSrgb::~IccToSrgb()
{
    cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform));
}

void IccToSrgb::convert(uchar* rows, qint64 width, qint64 height, qint64 bytesPerLine) const
{
    for (qint64 y = 0; y < height; ++y) {
        uchar* row = rows + y * bytesPerLine;
        cmsDoTransform(static_cast<cmsHTRANSFORM>(transform), row, row, static_cast<cmsUInt32Number>(width));
    }
}
