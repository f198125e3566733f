#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <memory>

// Converts the pixels of an image with an embedded RGB ICC profile to sRGB
// in place, through LittleCMS, 8 bits a component, the fourth byte of each
// pixel left as it is. Profiles of other classes (grey, CMYK) and
// unreadable ones give no converter: such pixels are counted as they are.
class IccToSrgb
{
public:
    static std::unique_ptr<IccToSrgb> forProfile(QByteArrayView profile);
    ~IccToSrgb();
    IccToSrgb(const IccToSrgb&) = delete;
    IccToSrgb& operator=(const IccToSrgb&) = delete;

    // Rows of 4-byte RGBA/RGBX pixels, colour not premultiplied.
    void convert(uchar* rows, qint64 width, qint64 height, qint64 bytesPerLine) const;

private:
    explicit IccToSrgb(void* transform);
    void* transform; // cmsHTRANSFORM
};
