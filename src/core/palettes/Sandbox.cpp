#include "Sandbox.h"

#include "ClrFormat.h"
#include "GimpPalette.h"
#include "ListFileName.h"
#include "PaletteFile.h"

#include "Log.h"
#include "settings/DefaultsKeys.h"
#include "settings/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

const QString Sandbox::mirrorPrefix = QStringLiteral("huelark-");

namespace {
const QString listExtension = QStringLiteral(".clr");
}

Sandbox::Sandbox(const UserDefaults& userDefaults, const QString& colorListFolder)
    : defaults(userDefaults)
    , listFolder(colorListFolder)
{
}

QStringList Sandbox::defaultSharedColorFolders(const UserDefaults& defaults)
{
    // Each program's own folder, then where its palettes live in it.
    const std::pair<const char*, const char*> programs[] = {
        {"~/.config/GIMP/2.10", "/palettes"},
        {"~/.config/GIMP/3.0", "/palettes"},
        {"~/.config/inkscape", "/palettes"},
        {"~/.local/share/krita", "/palettes"},
    };
    QStringList folders;
    for (const auto& [program, palettes] : programs)
        if (QFileInfo(checkForUserDirectory(QLatin1String(program), defaults)).isDir())
            folders << QLatin1String(program) + QLatin1String(palettes);
    return folders;
}

void Sandbox::registerDefaults(UserDefaults& defaults)
{
    defaults.registerDefaults({{DefaultsKeys::sharedColorFolders, defaultSharedColorFolders(defaults)}});
}

QString Sandbox::checkForUserDirectory(const QString& path, const UserDefaults& defaults)
{
    if (!path.startsWith(u'~'))
        return path;
    // Without "userFolder" (before the first start, or in the command line)
    // $HOME stands in: a test's home is then the home the mirror writes to.
    QString home = defaults.stringForKey(DefaultsKeys::userFolder);
    if (home.isEmpty())
        home = QDir::homePath();
    return home + path.mid(1);
}

QString Sandbox::checkForUserDirectory(const QString& path) const
{
    return checkForUserDirectory(path, defaults);
}

QStringList Sandbox::sharedFolders() const
{
    // Read without relying on registered defaults: the command line
    // registers none.
    const QVariant share = defaults.objectForKey(DefaultsKeys::sharePalettes);
    if (share.isValid() && !share.toBool())
        return {};
    const QVariant folders = defaults.objectForKey(DefaultsKeys::sharedColorFolders);
    QStringList expanded;
    for (const QString& folder : folders.isValid() ? folders.toStringList() : defaultSharedColorFolders(defaults))
        if (!folder.isEmpty())
            expanded << checkForUserDirectory(folder);
    return expanded;
}

QString Sandbox::mirrorFileName(const QString& name)
{
    const std::optional<QString> file = ListFileName::fileNameForList(name);
    return file ? mirrorPrefix + *file + QStringLiteral(".gpl") : QString();
}

bool Sandbox::addColorListNamed(const QString& name) const
{
    const std::optional<QString> fileName = ListFileName::fileNameForList(name);
    const QStringList folders = sharedFolders();
    if (!fileName || folders.isEmpty())
        return false;
    const QString mirror = mirrorFileName(name);
    QFile file(listFolder + u'/' + *fileName + listExtension);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const PaletteReadResult read = ClrFormat::readColorList(file.readAll());
    if (!read.complete())
        return false; // a damaged list would be mirrored damaged
    ColorList list(name);
    for (const ColorList::Entry& entry : read.colors)
        list.setColor(entry.key, entry.color);
    const QByteArray bytes = GimpPalette::writeColorList(list);

    bool written = true;
    for (const QString& folder : folders) {
        const QString shared = folder + u'/' + mirror;
        // A link under our name would have the write land in whatever file
        // it points to, which is not ours to touch: the link itself goes.
        if (QFileInfo(shared).isSymLink())
            QFile::remove(shared);
        if (!QDir().mkpath(folder) || !PaletteFile::writeAtomically(shared, bytes).isEmpty()) {
            qCWarning(lcPalettes, "Huelark Sandbox has denied access to %s", qPrintable(shared));
            written = false;
        }
    }
    return written;
}

bool Sandbox::removeColorListNamed(const QString& name) const
{
    const QString mirror = mirrorFileName(name);
    if (mirror.isEmpty())
        return false;
    bool removed = false;
    bool failed = false;
    for (const QString& folder : sharedFolders()) {
        const QString shared = folder + u'/' + mirror;
        if (!QFileInfo::exists(shared))
            continue;
        if (QFile::remove(shared)) {
            removed = true;
        } else {
            qCWarning(lcPalettes, "Huelark Sandbox has denied access to %s", qPrintable(shared));
            failed = true;
        }
    }
    return removed && !failed;
}

bool Sandbox::colorListExists(const QString& name) const
{
    const QString mirror = mirrorFileName(name);
    const QStringList folders = sharedFolders();
    if (mirror.isEmpty() || folders.isEmpty())
        return false;
    return std::all_of(folders.begin(), folders.end(),
                       [&mirror](const QString& folder) { return QFileInfo::exists(folder + u'/' + mirror); });
}

void Sandbox::syncColorLists() const
{
    const QDir dir(listFolder);
    for (const QString& fileName : dir.entryList({QStringLiteral("*") + listExtension}, QDir::Files | QDir::CaseSensitive)) {
        const std::optional<QString> name =
            ListFileName::listNameInFolder(listFolder, fileName.chopped(listExtension.size()));
        if (name && !colorListExists(*name))
            addColorListNamed(*name);
    }
}
