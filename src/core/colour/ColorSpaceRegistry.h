#pragma once

#include "ColorSpace.h"

#include <QStringList>

#include <mutex>
#include <vector>

// The colour spaces the program offers: the built-in sRGB first, then every
// RGB ICC profile in the standard colour folders; the built-in "Generic CMYK"
// first, then every CMYK ICC profile. Names are the profiles' descriptions,
// made unique with " (2)", " (3)"... in scan order. The folders are scanned
// once, on the first look-up that needs a profile: a start with the built-in
// spaces selected reads no profile at all. Safe to use from any thread.
class ColorSpaceRegistry
{
public:
    // color/icc of every folder in $XDG_DATA_DIRS (default /usr/local/share,
    // /usr/share), then the user's $XDG_DATA_HOME/color/icc,
    // $XDG_DATA_HOME/icc and ~/.color/icc; each folder once.
    static QStringList standardFolders();

    explicit ColorSpaceRegistry(const QStringList& folders = standardFolders());

    const std::vector<ColorSpacePtr>& rgbSpaces() const;
    const std::vector<ColorSpacePtr>& cmykSpaces() const;

    // Exact-name look-ups with the program's fallbacks: an empty or unknown
    // name gives sRGB, or the first CMYK space.
    ColorSpacePtr rgbSpaceNamed(const QString& name) const;
    ColorSpacePtr cmykSpaceNamed(const QString& name) const;
    // Exact-name look-up among all spaces; nothing when the name is unknown.
    ColorSpacePtr spaceNamed(const QString& name) const;

private:
    void ensureScanned() const;
    void scan(const QString& folder);
    void add(std::shared_ptr<ColorSpace> space);

    QStringList folders;
    mutable std::once_flag scanned;
    mutable std::vector<ColorSpacePtr> rgb;
    mutable std::vector<ColorSpacePtr> cmyk;
};
