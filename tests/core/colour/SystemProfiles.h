#pragma once

#include "FileBytes.h"

#include "colour/ColorSpace.h"

#include <QString>

#include <memory>

// ICC profiles that Debian's colour packages install. Tests read them (or
// copies of them in temporary folders) and skip when a package is missing.
namespace SystemProfiles {

inline const QString adobeRGB = QStringLiteral("/usr/share/color/icc/colord/AdobeRGB1998.icc");    // colord-data
inline const QString appleRGB = QStringLiteral("/usr/share/color/icc/colord/AppleRGB.icc");        // colord-data
inline const QString defaultCMYK = QStringLiteral("/usr/share/color/icc/ghostscript/default_cmyk.icc"); // libgs-common
inline const QString defaultGray = QStringLiteral("/usr/share/color/icc/ghostscript/default_gray.icc"); // libgs-common
inline const QString labD50 = QStringLiteral("/usr/share/color/icc/LCMSLABI.ICM");                 // icc-profiles-free

// The profile as a colour space, or null when it is not installed.
inline std::shared_ptr<const ColorSpace> load(const QString& path)
{
    const QByteArray bytes = contents(path);
    return bytes.isEmpty() ? nullptr : ColorSpace::fromICCProfile(bytes, QStringLiteral("fallback"));
}

} // namespace SystemProfiles
