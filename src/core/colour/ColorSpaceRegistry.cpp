#include "ColorSpaceRegistry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

QStringList ColorSpaceRegistry::standardFolders()
{
    // System folders first, in $XDG_DATA_DIRS order, then the user's: the
    // scan order decides which of two equally named profiles gets " (2)", and
    // a profile the system ships keeps its plain name whatever the user adds.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QStringList candidates;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (QDir::cleanPath(dir) != QDir::cleanPath(dataHome))
            candidates << dir + QStringLiteral("/color/icc");
    candidates << dataHome + QStringLiteral("/color/icc") << dataHome + QStringLiteral("/icc")
               << QDir::homePath() + QStringLiteral("/.color/icc");

    // The same folder named twice (a repeated or symlinked data dir) would
    // list its profiles twice, each copy with its own " (2)" name.
    QStringList folders;
    QSet<QString> seen;
    for (const QString& candidate : candidates) {
        const QString canonical = QFileInfo(candidate).canonicalFilePath();
        const QString key = canonical.isEmpty() ? QDir::cleanPath(candidate) : canonical;
        if (!seen.contains(key)) {
            seen.insert(key);
            folders << QDir::cleanPath(candidate);
        }
    }
    return folders;
}

ColorSpaceRegistry::ColorSpaceRegistry(const QStringList& folders)
    : folders(folders)
{
    rgb.push_back(ColorSpace::sRGB());
    cmyk.push_back(ColorSpace::genericCMYK());
}

void ColorSpaceRegistry::ensureScanned() const
{
    std::call_once(scanned, [this] {
        auto* self = const_cast<ColorSpaceRegistry*>(this);
        for (const QString& folder : folders)
            self->scan(folder);
    });
}

const std::vector<ColorSpacePtr>& ColorSpaceRegistry::rgbSpaces() const
{
    ensureScanned();
    return rgb;
}

const std::vector<ColorSpacePtr>& ColorSpaceRegistry::cmykSpaces() const
{
    ensureScanned();
    return cmyk;
}

void ColorSpaceRegistry::scan(const QString& folder)
{
    // Sorted paths make the order, and so the " (2)" suffixes, the same on
    // every start whatever order the file system lists them in.
    QStringList paths;
    QDirIterator it(folder, {QStringLiteral("*.icc"), QStringLiteral("*.icm"), QStringLiteral("*.ICC"), QStringLiteral("*.ICM")},
                    QDir::Files | QDir::Readable,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext())
        paths << it.next();
    std::sort(paths.begin(), paths.end());

    for (const QString& path : std::as_const(paths)) {
        QFile file(path);
        // ICC profiles are small; anything huge is not one we want to read.
        if (file.size() > 16 * 1024 * 1024 || !file.open(QIODevice::ReadOnly))
            continue;
        std::shared_ptr<ColorSpace> space = ColorSpace::fromICCProfile(file.readAll(), QFileInfo(path).completeBaseName());
        if (!space)
            continue;
        space->filePath = path;
        add(std::move(space));
    }
}

void ColorSpaceRegistry::add(std::shared_ptr<ColorSpace> space)
{
    auto taken = [this](const QString& name) {
        auto same = [&](const ColorSpacePtr& s) { return s->name() == name; };
        return std::any_of(rgb.begin(), rgb.end(), same) || std::any_of(cmyk.begin(), cmyk.end(), same);
    };
    const QString base = space->name();
    QString name = base;
    for (int n = 2; taken(name); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    space->setName(name);
    (space->model() == ColorSpace::Model::RGB ? rgb : cmyk).push_back(std::move(space));
}

ColorSpacePtr ColorSpaceRegistry::rgbSpaceNamed(const QString& name) const
{
    if (name.isEmpty() || name == ColorSpace::sRGBName)
        return ColorSpace::sRGB();
    ensureScanned();
    for (const ColorSpacePtr& s : rgb)
        if (s->name() == name)
            return s;
    return ColorSpace::sRGB();
}

ColorSpacePtr ColorSpaceRegistry::cmykSpaceNamed(const QString& name) const
{
    if (name.isEmpty() || name == ColorSpace::genericCMYKName)
        return cmyk.front();
    ensureScanned();
    for (const ColorSpacePtr& s : cmyk)
        if (s->name() == name)
            return s;
    return cmyk.front();
}

ColorSpacePtr ColorSpaceRegistry::spaceNamed(const QString& name) const
{
    if (name == ColorSpace::sRGBName)
        return ColorSpace::sRGB();
    if (name == ColorSpace::genericCMYKName)
        return ColorSpace::genericCMYK();
    ensureScanned();
    for (const auto* list : {&rgb, &cmyk})
        for (const ColorSpacePtr& s : *list)
            if (s->name() == name)
                return s;
    return nullptr;
}
